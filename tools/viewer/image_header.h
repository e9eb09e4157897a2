#pragma once
// The pixel size an image file declares in its header (png, gif, bmp, jpg, tif), read
// without decoding it: the viewer decides from it whether a picture can be shown at
// all before the imaging component spends seconds and memory on it.
#include <optional>
#include <string>

#include "hosted/image_decoder.h"

namespace vk::viewer {

// Nothing when the file cannot be read or is none of those formats.
std::optional<hosted::PixelSize> DeclaredPixelSize(const std::wstring& path);

}  // namespace vk::viewer
