// SPDX-License-Identifier: GPL-2.0-or-later
// Builds OFS and FFS floppy images in memory, and damages them on request.
// An image of 3520 blocks is formatted as a high-density disk (its root in
// block 1760), any other size as a double-density one (root 880).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "image/adf.h"

namespace moswit::test {

using Bytes = std::vector<uint8_t>;

// Deterministic pseudo-random contents.
Bytes PatternBytes(size_t length, uint32_t seed);

// The AmigaDOS name hash: the hash slot (0..71) of a name in a directory.
unsigned AmigaHash(const std::string& name, bool international = false);

class AdfBuilder {
 public:
  struct Options {
    bool ffs = false;
    bool international = false;
    bool dirCache = false;
    uint32_t blocks = 1760;
    std::string volume = "Empty";
    uint32_t firstFree = 0;  // where block allocation starts; 0: after the bitmap
  };

  AdfBuilder();
  explicit AdfBuilder(Options options);

  // Path from "/" ("/s/startup-sequence"); missing directories are made.
  // Returns the header (or directory) block.
  uint32_t AddFile(const std::string& path, const Bytes& contents);
  uint32_t AddDir(const std::string& path);
  // Adds a file header at a chosen block (for hash collisions and tests that
  // need to know where things are). The block must be free.
  uint32_t AddFileAt(const std::string& path, const Bytes& contents, uint32_t headerBlock);

  // The data blocks of a file in order, and its extension blocks.
  const std::vector<uint32_t>& DataBlocks(uint32_t header) const { return data_.at(header); }
  const std::vector<uint32_t>& ExtensionBlocks(uint32_t header) const { return ext_.at(header); }

  // The image with every checksum, the bitmap and the boot block set.
  Bytes Build() const;

  bool Ffs() const { return options_.ffs; }
  uint32_t Root() const { return root_; }

 private:
  uint32_t Allocate();
  uint32_t DirBlock(const std::string& dirPath);
  uint32_t MakeEntry(const std::string& path, uint32_t block, uint32_t secondaryType);
  void LinkIntoParent(uint32_t parent, uint32_t block, const std::string& name);
  void WriteFileBlocks(uint32_t header, const Bytes& contents);

  Options options_;
  uint32_t root_;
  uint32_t bitmap_;
  Bytes image_;
  std::set<uint32_t> used_;
  std::set<uint32_t> checksummed_;  // blocks whose long 5 is set at Build
  std::map<std::string, uint32_t> dirs_;
  std::map<uint32_t, std::vector<uint32_t>> data_;
  std::map<uint32_t, std::vector<uint32_t>> ext_;
  uint32_t nextFree_ = 0;
};

// Damage and inspection of built images.
uint32_t GetLong(const Bytes& image, uint32_t block, unsigned n);
// Sets long n; with `fixChecksum` the block's long 5 is set to match again.
void SetLong(Bytes& image, uint32_t block, unsigned n, uint32_t value, bool fixChecksum = true);
void BreakChecksum(Bytes& image, uint32_t block);
void FixChecksum(Bytes& image, uint32_t block);
void SetName(Bytes& image, uint32_t block, const std::string& name, bool fixChecksum = true);

// A built image loaded as Moswit loads a file, named "test.adf".
ImagePtr FromBytes(const Bytes& bytes);

}  // namespace moswit::test
