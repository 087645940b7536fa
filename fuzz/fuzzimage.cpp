// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as an image file: loaded from disk (as a plain image or,
// with the ZIP or gzip signature, as an archive or gzip data), then walked,
// read, classified, inspected and identified against an empty index.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/adf.h"
#include "support/exercise.h"

namespace {

// One anonymous in-memory file for the whole run, rewritten per input, so
// LoadImage goes through its real open, stat and read path.
int ImageFile() {
  static const int fd = memfd_create("moswit-fuzz-image", 0);
  return fd;
}

// The file keeps its pages from one input to the next: cutting it to the new
// length after writing, not before, saves the kernel zeroing them again.
bool WriteWhole(int fd, const uint8_t* data, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return ftruncate(fd, static_cast<off_t>(size)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const int fd = ImageFile();
  if (fd < 0 || !WriteWhole(fd, data, size)) std::abort();
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  moswit::FileError error;
  moswit::ImagePtr image = moswit::LoadImage(path, &error);
  if (!image) {
    if (error.message.empty() || error.path != path) std::abort();  // a failed load always says why
    return 0;
  }
  static const moswit::MatchIndex kEmptyIndex;
  const std::string problem = moswit::test::ExerciseImage(*image, kEmptyIndex);
  if (!problem.empty()) {
    std::fprintf(stderr, "broken promise: %s\n", problem.c_str());
    std::abort();
  }
  moswit::FreeImage(image);
  return 0;
}
