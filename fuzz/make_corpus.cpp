// Writes a handful of tiny GIF files as the fuzzer's starting corpus: both
// versions, global and local tables, interlacing, every kind of extension,
// transparency with and without a shared key colour.
#include <cstdio>
#include <string>

#include "tools/gif/gif_writer.h"

using namespace vk::gif;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_corpus <folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  const std::vector<Colour> four = {0x000000, 0xFFFFFF, 0x0000FF, 0xFFFFFF};
  const std::vector<uint8_t> pixels = {0, 1, 2, 3, 3, 2, 1, 0, 0, 1, 2, 3};
  int written = 0;
  auto put = [&](const char* name, const GifBuilder& b) {
    written += WriteFile(dir + "/" + name, b.Bytes()) ? 1 : 0;
  };
  put("plain87.gif", GifBuilder().Header("87a", 4, 3, four).Image(0, 0, 4, 3, pixels).Trailer());
  put("anim89.gif", GifBuilder()
                        .Header("89a", 8, 6, four)
                        .Loop()
                        .Control(0, 10)
                        .Image(0, 0, 4, 3, pixels)
                        .Comment("between")
                        .Control(2, 20, true, 3)
                        .Image(4, 3, 4, 3, pixels, {0x00FF00, 0x808080, 0x808080, 0x000000})
                        .PlainText("hi")
                        .Control(1, 600, true, 9)
                        .Image(0, 0, 4, 3, pixels, {}, true)
                        .Trailer());
  put("nolocal.gif", GifBuilder().Header("89a", 4, 3, {}).Image(0, 0, 4, 3, pixels, four).Trailer());
  put("interlaced.gif",
      GifBuilder().Header("89a", 4, 3, four).Image(0, 0, 4, 3, pixels, {}, true).Trailer());
  put("noimage.gif", GifBuilder().Header("89a", 2, 2, four).Comment("only").Trailer());
  std::printf("%d files\n", written);
  return written == 5 ? 0 : 1;
}
