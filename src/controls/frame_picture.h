#pragma once
// One frame of an animation as a bitmap: the image of a one-image GIF file at the
// bitmap's top-left corner, each pixel the exact colour of its palette entry (so
// the transparent entry's colour works as a colour key).
//
// Loading: the platform's picture loader rejects the one-image files the player
// writes (a trailer after a graphic-control introducer), and so does the imaging
// component when given the file as it is. The imaging component's GIF decoder is
// given the image up to its data terminator with a plain trailer and reads the
// palette indices; the colours come from the file's own table. Where that decoder
// fails, our own small decoder reads the file.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/gdi_object.h"

namespace vk::controls {

class FramePicture {
 public:
  FramePicture() = default;
  FramePicture(const FramePicture&) = delete;
  FramePicture& operator=(const FramePicture&) = delete;
  FramePicture(FramePicture&& other) noexcept;
  FramePicture& operator=(FramePicture&& other) noexcept;

  // A 32-bit top-down bitmap of width x height from packed colours.
  static FramePicture FromPixels(int width, int height, const std::vector<uint32_t>& colours);

  HBITMAP Bitmap() const { return bitmap_.get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  explicit operator bool() const { return static_cast<bool>(bitmap_); }

 private:
  GdiObject<HBITMAP> bitmap_;
  int width_ = 0;
  int height_ = 0;
};

enum class PictureSource { None, Imaging, OwnDecoder };

// Loads the first image of a GIF file. `source` says which decoder read it.
FramePicture LoadFramePicture(const std::wstring& path, PictureSource* source = nullptr);

// The same from bytes already in memory (our own decoder only).
FramePicture FramePictureFromGif(const std::vector<uint8_t>& file);

}  // namespace vk::controls
