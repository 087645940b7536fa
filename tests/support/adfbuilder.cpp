// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/adfbuilder.h"

#include <algorithm>
#include <stdexcept>

#include "image/blocklayout.h"
#include "image/checksum.h"
#include "image/geometry.h"

namespace moswit::test {

namespace {

constexpr unsigned kHighSeq = 2;
constexpr unsigned kDataSize = 3;   // OFS data block: bytes used
constexpr unsigned kFirstData = 4;  // file header: first data block; OFS data: next
constexpr unsigned kHashTableSize = 3;
constexpr unsigned kBitmapFlag = 78;
constexpr unsigned kBitmapPages = 79;
constexpr unsigned kParent = 125;

void Put(Bytes& image, uint32_t block, unsigned n, uint32_t value) {
  uint8_t* p = image.data() + static_cast<size_t>(block) * 512 + 4 * n;
  p[0] = static_cast<uint8_t>(value >> 24);
  p[1] = static_cast<uint8_t>(value >> 16);
  p[2] = static_cast<uint8_t>(value >> 8);
  p[3] = static_cast<uint8_t>(value);
}

void PutName(Bytes& image, uint32_t block, const std::string& name) {
  uint8_t* p = image.data() + static_cast<size_t>(block) * 512 + kNameOffset;
  const size_t length = name.size() > 30 ? 30 : name.size();
  std::fill(p, p + 31, 0);
  p[0] = static_cast<uint8_t>(length);
  std::copy_n(name.begin(), length, p + 1);
}

std::pair<std::string, std::string> SplitPath(const std::string& path) {
  size_t slash = path.rfind('/');
  if (path.empty() || path[0] != '/' || slash == std::string::npos || slash + 1 == path.size()) {
    throw std::invalid_argument("bad path: " + path);
  }
  return {path.substr(0, slash), path.substr(slash + 1)};
}

unsigned char Upper(unsigned char c, bool international) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (international && c >= 224 && c <= 254 && c != 247) return static_cast<unsigned char>(c - 32);
  return c;
}

}  // namespace

Bytes PatternBytes(size_t length, uint32_t seed) {
  Bytes bytes(length);
  uint32_t x = seed * 2654435761u + 12345u;
  for (auto& b : bytes) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    b = static_cast<uint8_t>(x);
  }
  return bytes;
}

unsigned AmigaHash(const std::string& name, bool international) {
  uint32_t hash = static_cast<uint32_t>(name.size());
  for (unsigned char c : name) hash = (hash * 13u + Upper(c, international)) & 0x7FFu;
  return hash % 72u;
}

AdfBuilder::AdfBuilder() : AdfBuilder(Options{}) {}

AdfBuilder::AdfBuilder(Options options)
    : options_(std::move(options)),
      root_(GeometryOfBlocks(options_.blocks).rootBlock),
      bitmap_(root_ + 1) {
  image_.assign(static_cast<size_t>(options_.blocks) * 512, 0);
  nextFree_ = options_.firstFree != 0 ? options_.firstFree : bitmap_ + 1;
  used_ = {0, 1, root_, bitmap_};
  image_[0] = 'D';
  image_[1] = 'O';
  image_[2] = 'S';
  image_[3] = static_cast<uint8_t>((options_.ffs ? 1 : 0) | (options_.international ? 2 : 0) |
                                   (options_.dirCache ? 4 : 0));
  Put(image_, 0, 2, root_);
  Put(image_, root_, kPrimaryType, kTypeShort);
  Put(image_, root_, kHashTableSize, kTableSlots);
  Put(image_, root_, kBitmapFlag, 0xFFFFFFFFu);
  Put(image_, root_, kBitmapPages, bitmap_);
  Put(image_, root_, kSecondaryType, kSecondaryRoot);
  PutName(image_, root_, options_.volume);
  checksummed_.insert(root_);
  dirs_[""] = root_;
}

uint32_t AdfBuilder::Allocate() {
  for (uint32_t tries = 0; tries < options_.blocks; ++tries) {
    uint32_t b = nextFree_;
    nextFree_ = nextFree_ + 1 >= options_.blocks ? 2 : nextFree_ + 1;
    if (!used_.count(b)) {
      used_.insert(b);
      return b;
    }
  }
  throw std::runtime_error("disk full");
}

uint32_t AdfBuilder::DirBlock(const std::string& dirPath) {
  auto found = dirs_.find(dirPath);
  if (found != dirs_.end()) return found->second;
  return AddDir(dirPath);
}

void AdfBuilder::LinkIntoParent(uint32_t parent, uint32_t block, const std::string& name) {
  const unsigned slot = kHashTable + AmigaHash(name, options_.international);
  uint32_t e = GetLong(image_, parent, slot);
  if (e == 0) {
    Put(image_, parent, slot, block);
  } else {
    while (GetLong(image_, e, kHashChain) != 0) e = GetLong(image_, e, kHashChain);
    Put(image_, e, kHashChain, block);
  }
  Put(image_, block, kParent, parent);
}

uint32_t AdfBuilder::MakeEntry(const std::string& path, uint32_t block, uint32_t secondaryType) {
  auto [dirPath, name] = SplitPath(path);
  const uint32_t parent = DirBlock(dirPath);
  Put(image_, block, kPrimaryType, kTypeShort);
  Put(image_, block, kHeaderKey, block);
  Put(image_, block, kSecondaryType, secondaryType);
  PutName(image_, block, name);
  LinkIntoParent(parent, block, name);
  checksummed_.insert(block);
  return block;
}

uint32_t AdfBuilder::AddDir(const std::string& path) {
  auto found = dirs_.find(path);
  if (found != dirs_.end()) return found->second;
  SplitPath(path);
  DirBlock(SplitPath(path).first);  // parents first, so they get lower blocks
  const uint32_t block = MakeEntry(path, Allocate(), kSecondaryUserDir);
  dirs_[path] = block;
  return block;
}

uint32_t AdfBuilder::AddFile(const std::string& path, const Bytes& contents) {
  DirBlock(SplitPath(path).first);
  const uint32_t header = MakeEntry(path, Allocate(), kSecondaryFile);
  WriteFileBlocks(header, contents);
  return header;
}

uint32_t AdfBuilder::AddFileAt(const std::string& path, const Bytes& contents,
                               uint32_t headerBlock) {
  if (used_.count(headerBlock) || headerBlock >= options_.blocks) {
    throw std::invalid_argument("block in use");
  }
  DirBlock(SplitPath(path).first);
  used_.insert(headerBlock);
  MakeEntry(path, headerBlock, kSecondaryFile);
  WriteFileBlocks(headerBlock, contents);
  return headerBlock;
}

void AdfBuilder::WriteFileBlocks(uint32_t header, const Bytes& contents) {
  const size_t per = options_.ffs ? 512 : kOfsDataBytes;
  const size_t count = (contents.size() + per - 1) / per;
  std::vector<uint32_t>& blocks = data_[header];
  std::vector<uint32_t>& extensions = ext_[header];
  for (size_t i = 0; i < count; ++i) blocks.push_back(Allocate());

  Put(image_, header, kByteSize, static_cast<uint32_t>(contents.size()));
  if (!blocks.empty()) Put(image_, header, kFirstData, blocks[0]);

  // Data block tables: 72 pointers in the header, then in extension blocks.
  uint32_t table = header;
  for (size_t i = 0; i < count; ++i) {
    if (i > 0 && i % kTableSlots == 0) {
      const uint32_t ext = Allocate();
      extensions.push_back(ext);
      Put(image_, table, kExtension, ext);
      Put(image_, ext, kPrimaryType, kTypeList);
      Put(image_, ext, kHeaderKey, ext);
      Put(image_, ext, kParent, header);
      Put(image_, ext, kSecondaryType, kSecondaryFile);
      checksummed_.insert(ext);
      table = ext;
    }
    const unsigned index = static_cast<unsigned>(i % kTableSlots);
    Put(image_, table, kFirstDataSlot - index, blocks[i]);
    Put(image_, table, kHighSeq, index + 1);
  }

  for (size_t i = 0; i < count; ++i) {
    const size_t offset = i * per;
    const size_t n = std::min(per, contents.size() - offset);
    uint8_t* block = image_.data() + static_cast<size_t>(blocks[i]) * 512;
    if (options_.ffs) {
      std::copy_n(contents.begin() + static_cast<std::ptrdiff_t>(offset), n, block);
    } else {
      Put(image_, blocks[i], kPrimaryType, kTypeData);
      Put(image_, blocks[i], kHeaderKey, header);
      Put(image_, blocks[i], kHighSeq, static_cast<uint32_t>(i + 1));
      Put(image_, blocks[i], kDataSize, static_cast<uint32_t>(n));
      Put(image_, blocks[i], kFirstData, i + 1 < count ? blocks[i + 1] : 0);
      std::copy_n(contents.begin() + static_cast<std::ptrdiff_t>(offset), n,
                  block + kOfsDataOffset);
      checksummed_.insert(blocks[i]);
    }
  }
}

Bytes AdfBuilder::Build() const {
  Bytes image = image_;
  // Bitmap: one bit per block from block 2, set while the block is free.
  if (bitmap_ < options_.blocks) {
    for (uint32_t b = 2; b < options_.blocks; ++b) {
      if (used_.count(b)) continue;
      const uint32_t bit = b - 2;
      const unsigned n = 1 + bit / 32;
      if (n >= 128) break;
      Put(image, bitmap_, n, GetLong(image, bitmap_, n) | (1u << (bit % 32)));
    }
    const uint8_t* bm = image.data() + static_cast<size_t>(bitmap_) * 512;
    Put(image, bitmap_, 0, CalcChecksum(bm, 512, 0, ckNormal));
  }
  for (uint32_t block : checksummed_) {
    if (block < options_.blocks) FixChecksum(image, block);
  }
  if (image.size() >= 1024) Put(image, 0, 1, CalcChecksum(image.data(), 1024, 4, ckBoot));
  return image;
}

uint32_t GetLong(const Bytes& image, uint32_t block, unsigned n) {
  return ReadLong(image.data() + static_cast<size_t>(block) * 512, n);
}

void SetLong(Bytes& image, uint32_t block, unsigned n, uint32_t value, bool fixChecksum) {
  Put(image, block, n, value);
  if (fixChecksum) FixChecksum(image, block);
}

void FixChecksum(Bytes& image, uint32_t block) {
  Put(image, block, kChecksum, NormalChecksum(image.data() + static_cast<size_t>(block) * 512));
}

void BreakChecksum(Bytes& image, uint32_t block) {
  Put(image, block, kChecksum, GetLong(image, block, kChecksum) ^ 0x00010000u);
}

void SetName(Bytes& image, uint32_t block, const std::string& name, bool fixChecksum) {
  const size_t at = static_cast<size_t>(block) * 512 + kNameOffset;
  image[at] = static_cast<uint8_t>(name.size());
  // A long name runs on into the next bytes of the image, never past its end.
  const size_t room = image.size() - (at + 1);
  std::copy_n(name.begin(), std::min(room, name.size()),
              image.begin() + static_cast<std::ptrdiff_t>(at + 1));
  if (fixChecksum) FixChecksum(image, block);
}

ImagePtr FromBytes(const Bytes& bytes) {
  return LoadImageFromMemory("test.adf", bytes.data(), bytes.size());
}

}  // namespace moswit::test
