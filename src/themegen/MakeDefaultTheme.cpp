// Writes the default theme file; the build runs it so the file lies beside the executable.

#include <cstdio>
#include <cstdlib>

#include "core/input/DefaultTheme.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s THEME-FILE\n", argv[0]);
    return EXIT_FAILURE;
  }
  const zelvora::FileWriteResult written = zelvora::WriteDefaultTheme(argv[1]);
  if (!written.ok) {
    std::fprintf(stderr, "%s: %s\n", argv[1], written.error.c_str());
    return EXIT_FAILURE;
  }
  return EXIT_SUCCESS;
}
