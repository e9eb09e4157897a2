#include "controls/status_bar/trans_blt.h"

#include "controls/status_bar/status_bar_error.h"
#include "runtime/colour_bitmap.h"
#include "runtime/gdi_object.h"

// Scratch bitmaps are DIB sections rather than compatible bitmaps: selecting a new
// compatible bitmap costs about 0.13 ms each under Wine (three per icon made a
// repaint with three icons take 2 ms), a DIB section almost nothing, and the pixels
// come out the same.

namespace vk::controls {

namespace {

// A memory DC with one bitmap selected, both released at the end of the scope.
class Scratch {
 public:
  Scratch(HDC like, HBITMAP bitmap) : bitmap_(bitmap), dc_(CreateCompatibleDC(like)) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_.get(), bitmap_.get());
  }
  ~Scratch() {
    if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  HDC dc() const { return dc_.get(); }
  bool ok() const { return dc_ && bitmap_; }

 private:
  GdiObject<HBITMAP> bitmap_;  // declared first: deleted after the DC
  MemoryDc dc_;
  HGDIOBJ previous_ = nullptr;
};

}  // namespace

void GrayBlt(HDC dest, HDC source, long width, long height) {
  Rethrown(L"GrayBlt", [&] {
    if (width <= 0 || height <= 0) return;
    // Each pixel becomes the grey nearest to it by RGB distance, which is the grey of
    // the mean of its channels. Computed here rather than left to a palette match:
    // GDI's matching to an 8-bit palette is approximate on some systems.
    void* bits = nullptr;
    HBITMAP pixels = CreateColourBitmap(source, width, height, &bits);
    Scratch grey(source, pixels);
    if (!grey.ok() || !bits) return;
    BitBlt(grey.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    GdiFlush();
    auto* p = static_cast<DWORD*>(bits);
    for (long i = 0; i < width * height; ++i) {
      const DWORD c = p[i];
      const DWORD level = ((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) + 1) / 3;
      p[i] = level | level << 8 | level << 16;
    }
    BitBlt(dest, 0, 0, width, height, grey.dc(), 0, 0, SRCCOPY);
  });
}

void TransBltEx(HDC hDestDC, long X, long Y, long nWidth, long nHeight, IPicture* hSrcImg, long XSrc,
                long YSrc, long TransColor, bool Disabled) {
  Rethrown(L"TransBltEx", [&] {
    if (!hSrcImg) throw VbError{err::ObjectNotSet, L"", StandardErrorText(err::ObjectNotSet)};
    SHORT type = 0;
    OLE_HANDLE handle = 0;
    hSrcImg->get_Type(&type);
    hSrcImg->get_Handle(&handle);

    // The source: the picture's own bitmap (left with the picture), or the icon
    // drawn at the area's size over the key colour.
    GdiObject<HBITMAP> iconBitmap;  // declared first: deleted after the DC
    MemoryDc source(CreateCompatibleDC(hDestDC));
    HDC src = source.get();
    HGDIOBJ srcPrevious = nullptr;
    if (type == PICTYPE_BITMAP) {
      srcPrevious = SelectObject(src, reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
    } else {
      iconBitmap.reset(CreateColourBitmap(hDestDC, nWidth, nHeight));
      srcPrevious = SelectObject(src, iconBitmap.get());
      GdiObject<HBRUSH> key(CreateSolidBrush(static_cast<COLORREF>(TransColor)));
      DrawIconEx(src, 0, 0, reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), nWidth, nHeight, 0,
                 key.get(), DI_NORMAL);
    }

    {
      Scratch mask(hDestDC, CreateBitmap(nWidth, nHeight, 1, 1, nullptr));
      Scratch inverse(hDestDC, CreateBitmap(nWidth, nHeight, 1, 1, nullptr));
      Scratch backdrop(hDestDC, CreateColourBitmap(hDestDC, nWidth, nHeight));
      Scratch image(hDestDC, CreateColourBitmap(hDestDC, nWidth, nHeight));
      if (mask.ok() && inverse.ok() && backdrop.ok() && image.ok()) {
        // Key-coloured pixels white in the mask, all others black.
        const COLORREF oldBack = SetBkColor(src, static_cast<COLORREF>(TransColor));
        BitBlt(mask.dc(), 0, 0, nWidth, nHeight, src, XSrc, YSrc, SRCCOPY);
        SetBkColor(src, oldBack);
        BitBlt(inverse.dc(), 0, 0, nWidth, nHeight, mask.dc(), 0, 0, NOTSRCCOPY);
        // Mono to colour maps black to the text colour and white to the back colour.
        for (HDC d : {backdrop.dc(), image.dc()}) {
          SetTextColor(d, RGB(0, 0, 0));
          SetBkColor(d, RGB(255, 255, 255));
        }
        BitBlt(backdrop.dc(), 0, 0, nWidth, nHeight, hDestDC, X, Y, SRCCOPY);
        BitBlt(backdrop.dc(), 0, 0, nWidth, nHeight, mask.dc(), 0, 0, SRCAND);
        if (Disabled && type == PICTYPE_BITMAP) {
          // Greyed on a copy: the picture's own bitmap keeps its colours.
          Scratch work(hDestDC, CreateColourBitmap(hDestDC, nWidth, nHeight));
          BitBlt(work.dc(), 0, 0, nWidth, nHeight, src, XSrc, YSrc, SRCCOPY);
          GrayBlt(work.dc(), work.dc(), nWidth, nHeight);
          BitBlt(image.dc(), 0, 0, nWidth, nHeight, work.dc(), 0, 0, SRCCOPY);
        } else {
          if (Disabled) GrayBlt(src, src, nWidth, nHeight);
          BitBlt(image.dc(), 0, 0, nWidth, nHeight, src, XSrc, YSrc, SRCCOPY);
        }
        BitBlt(image.dc(), 0, 0, nWidth, nHeight, inverse.dc(), 0, 0, SRCAND);
        BitBlt(backdrop.dc(), 0, 0, nWidth, nHeight, image.dc(), 0, 0, SRCINVERT);
        BitBlt(hDestDC, X, Y, nWidth, nHeight, backdrop.dc(), 0, 0, SRCCOPY);
      }
    }

    SelectObject(src, srcPrevious);
  });
}

}  // namespace vk::controls
