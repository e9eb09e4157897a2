// Writes the search picker's busy animation to the path given.
#include <cstdio>

#include "tools/gif/gif_writer.h"
#include "tools/gif/sample_animation.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_sample_gif <file.gif>\n");
    return 2;
  }
  return vk::gif::WriteFile(argv[1], vk::gif::SampleAnimation()) ? 0 : 1;
}
