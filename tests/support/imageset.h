// SPDX-License-Identifier: GPL-2.0-or-later
// A fixed set of builder images covering every structure the walk follows
// (OFS and FFS, directories, hash chains, extension blocks, larger and
// shorter images) and a database that identifies each of them through its
// files and block ranges. The mutation sweep, the concurrent scan test and
// the fuzzers' seeds and fixed database all start from this set.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "database/records.h"
#include "support/adfbuilder.h"

namespace moswit::test {

struct NamedImage {
  std::string name;  // lower case, usable as a file name
  Bytes bytes;
};

std::vector<NamedImage> BuilderImageSet();
// The names alone, cheaply, and one image by name (empty for an unknown name).
std::vector<std::string> BuilderImageNames();
Bytes BuilderImage(const std::string& name);

// One game per image, one disk per game. Each disk lists the image's files
// (with a few records made wildcard, optional, savegame or highscores) and
// ranges over its boot block, its root block and one past the image's end.
std::unique_ptr<DatabaseInfo> ImageSetDatabase(const std::vector<NamedImage>& images);

}  // namespace moswit::test
