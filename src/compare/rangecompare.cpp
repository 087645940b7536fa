// SPDX-License-Identifier: GPL-2.0-or-later
#include "compare/rangecompare.h"

#include <algorithm>
#include <cstring>

#include "image/crc32.h"

namespace moswit {

namespace {

// The area is compared a 64-byte line at a time against image 0, eight
// images in one sweep over the lines, so the difference words and image 0
// are read from the cache once per eight images while the others stream in.
constexpr size_t kLineBytes = 64;
constexpr size_t kLineWords = kLineBytes / 8;
constexpr size_t kGroup = 8;
// Lines ahead that are asked for from memory while one is compared.
constexpr size_t kPrefetchLines = 8;

// Two words at a time; plain SSE2 on x86-64.
using Lanes = uint64_t __attribute__((vector_size(16)));

Lanes LoadLanes(const uint8_t* p) {
  Lanes value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

// True when every byte of `x` is nonzero, i.e. all 8 positions differ.
bool NoZeroByte(uint64_t x) { return ((x - 0x0101010101010101u) & ~x & 0x8080808080808080u) == 0; }

// Takes the differing positions in ascending order and cuts the sections.
class SectionCutter {
 public:
  SectionCutter(std::vector<RangeSection>& out, uint32_t area) : out_(out), area_(area) {}

  void Differing(uint32_t first, uint32_t last) {
    if (open_) {
      if (first - last_ - 1 <= kCompareTolerance) {
        last_ = last;
        return;
      }
      CloseDiffering();
    }
    if (first > next_) Emit(next_, first - 1, true);
    open_ = true;
    first_ = first;
    last_ = last;
  }

  void Finish() {
    if (open_) {
      // a short equal tail stays with the differing section before it
      if (area_ - last_ - 1 <= kCompareTolerance) last_ = area_ - 1;
      CloseDiffering();
    }
    if (next_ < area_) Emit(next_, area_ - 1, true);
  }

 private:
  void CloseDiffering() {
    Emit(first_, last_, false);
    open_ = false;
  }

  void Emit(uint32_t first, uint32_t last, bool equal) {
    out_.push_back({first, last, equal, {}});
    next_ = last + 1;
  }

  std::vector<RangeSection>& out_;
  uint32_t area_;
  bool open_ = false;
  uint32_t first_ = 0;  // the open differing section
  uint32_t last_ = 0;
  uint32_t next_ = 0;  // the first position not yet in a section
};

// ORs into the difference words of every open line what the group's images
// hold there apart from image 0.
template <size_t kCount>
void OrDifferences(uint64_t* acc, const uint8_t* base, const uint8_t* const (&group)[kCount],
                   const std::vector<uint32_t>& open) {
  for (size_t i = 0; i < open.size(); ++i) {
    if (i + kPrefetchLines < open.size()) {
      const size_t ahead = size_t{open[i + kPrefetchLines]} * kLineBytes;
      for (const uint8_t* image : group) __builtin_prefetch(image + ahead);
    }
    const size_t at = size_t{open[i]} * kLineBytes;
    for (size_t q = 0; q < kLineBytes; q += sizeof(Lanes)) {
      const Lanes b = LoadLanes(base + at + q);
      Lanes d = LoadLanes(group[0] + at + q) ^ b;
      for (size_t j = 1; j < kCount; ++j) d |= LoadLanes(group[j] + at + q) ^ b;
      auto* word = reinterpret_cast<uint8_t*>(acc) + at + q;
      const Lanes merged = LoadLanes(word) | d;
      std::memcpy(word, &merged, sizeof merged);
    }
  }
}

// Lines whose 64 positions all differ already are not read again.
void DropSettled(const uint64_t* acc, std::vector<uint32_t>& open) {
  size_t kept = 0;
  for (uint32_t line : open) {
    const uint64_t* words = acc + size_t{line} * kLineWords;
    if (!std::all_of(words, words + kLineWords, NoZeroByte)) open[kept++] = line;
  }
  open.resize(kept);
}

void ReportWord(uint64_t x, uint32_t at, SectionCutter& cutter) {
  if (x == 0) return;
  if (NoZeroByte(x)) {
    cutter.Differing(at, at + 7);
    return;
  }
  uint8_t bytes[8];
  std::memcpy(bytes, &x, sizeof bytes);
  for (uint32_t b = 0; b < 8; ++b) {
    if (bytes[b] != 0) cutter.Differing(at + b, at + b);
  }
}

// Reports the differing positions below `common`, which every image holds.
// Every image is compared with image 0, which is the same as comparing each
// image with the next.
void FindDifferences(std::span<const CompareImage> images, uint32_t common, SectionCutter& cutter) {
  const uint8_t* base = images[0].bytes.data();
  const size_t lines = common / kLineBytes;
  std::vector<uint64_t> acc(lines * kLineWords);
  std::vector<uint32_t> open(lines);
  for (size_t line = 0; line < lines; ++line) open[line] = static_cast<uint32_t>(line);
  for (size_t k = 1; k < images.size() && !open.empty(); k += kGroup) {
    // a short last group repeats its last image, which changes nothing
    const uint8_t* group[kGroup];
    for (size_t j = 0; j < kGroup; ++j) {
      group[j] = images[std::min(k + j, images.size() - 1)].bytes.data();
    }
    OrDifferences(acc.data(), base, group, open);
    DropSettled(acc.data(), open);
  }
  for (size_t w = 0; w < acc.size(); ++w) {
    ReportWord(acc[w], static_cast<uint32_t>(8 * w), cutter);
  }
  for (uint32_t p = static_cast<uint32_t>(lines * kLineBytes); p < common; ++p) {
    for (size_t k = 1; k < images.size(); ++k) {
      if (images[k].bytes[p] != base[p]) {
        cutter.Differing(p, p);
        break;
      }
    }
  }
}

// The CRC-32s of image k (of `bytes`) per section; an equal section lies
// where every image holds the same bytes, so past image 0 it takes image 0's.
void SectionCrcs(size_t k, std::span<const uint8_t> bytes, std::vector<RangeSection>& sections) {
  for (RangeSection& section : sections) {
    if (section.equal && k > 0) {
      section.crcs[k] = section.crcs[0];
      continue;
    }
    uint32_t crc;
    CrcInit(crc);
    if (section.first < bytes.size()) {
      const size_t end = std::min<size_t>(size_t{section.last} + 1, bytes.size());
      CrcUpdate(crc, bytes.data() + section.first, end - section.first);
    }
    CrcFinal(crc);
    section.crcs[k] = crc;
  }
}

void SectionCrcs(std::span<const CompareImage> images, std::vector<RangeSection>& sections) {
  for (RangeSection& section : sections) section.crcs.resize(images.size());
  for (size_t k = 0; k < images.size(); ++k) SectionCrcs(k, images[k].bytes, sections);
}

uint32_t AreaOfSize(uint64_t size) {
  return GeometryOfSize(size).blocks == kHighDensityBlocks ? kHighDensityAreaSize
                                                           : kCompareAreaSize;
}

}  // namespace

uint32_t CompareAreaSize(std::span<const CompareImage> images) {
  uint32_t area = kCompareAreaSize;
  for (const CompareImage& image : images) area = std::max(area, AreaOfSize(image.bytes.size()));
  return area;
}

std::vector<RangeSection> CompareRanges(std::span<const CompareImage> images) {
  std::vector<RangeSection> sections;
  if (images.empty()) return sections;
  const uint32_t area = CompareAreaSize(images);
  size_t common = area;
  for (const CompareImage& image : images) common = std::min(common, image.bytes.size());
  SectionCutter cutter(sections, area);
  FindDifferences(images, static_cast<uint32_t>(common), cutter);
  // past the end of the shortest image nothing can be equal
  if (common < area) cutter.Differing(static_cast<uint32_t>(common), area - 1);
  cutter.Finish();
  SectionCrcs(images, sections);
  return sections;
}

void RangeComparer::Add(std::span<const uint8_t> bytes) {
  area_ = std::max(area_, AreaOfSize(bytes.size()));
  if (images_++ == 0) {
    // Image 0 is what the others are compared with, as far as any area goes.
    base_.assign(bytes.begin(),
                 bytes.begin() + std::min<ptrdiff_t>(std::ssize(bytes), kHighDensityAreaSize));
    common_ = static_cast<uint32_t>(base_.size());
    const size_t lines = (base_.size() + kLineBytes - 1) / kLineBytes;
    acc_.assign(lines * kLineWords, 0);
    open_.resize(lines);
    for (size_t line = 0; line < lines; ++line) open_[line] = static_cast<uint32_t>(line);
    return;
  }
  common_ = static_cast<uint32_t>(std::min<size_t>(common_, bytes.size()));
  // Whole lines word by word; the positions after them byte by byte, for
  // this image and every later one.
  const size_t lines = common_ / kLineBytes;
  while (!open_.empty() && open_.back() >= lines) open_.pop_back();
  const uint8_t* group[1] = {bytes.data()};
  OrDifferences(acc_.data(), base_.data(), group, open_);
  auto* differences = reinterpret_cast<uint8_t*>(acc_.data());
  for (size_t p = lines * kLineBytes; p < common_; ++p) {
    differences[p] |= static_cast<uint8_t>(bytes[p] ^ base_[p]);
  }
  if (images_ % kGroup == 0) DropSettled(acc_.data(), open_);
}

std::vector<RangeSection> RangeComparer::Sections() const {
  std::vector<RangeSection> sections;
  if (images_ == 0) return sections;
  const uint32_t common = std::min(common_, area_);
  SectionCutter cutter(sections, area_);
  const size_t words = common / 8;
  for (size_t w = 0; w < words; ++w) ReportWord(acc_[w], static_cast<uint32_t>(8 * w), cutter);
  const auto* differences = reinterpret_cast<const uint8_t*>(acc_.data());
  for (uint32_t p = static_cast<uint32_t>(words * 8); p < common; ++p) {
    if (differences[p] != 0) cutter.Differing(p, p);
  }
  if (common < area_) cutter.Differing(common, area_ - 1);
  cutter.Finish();
  for (RangeSection& section : sections) section.crcs.resize(images_);
  SectionCrcs(0, base_, sections);
  return sections;
}

void RangeComparer::AddCrcs(size_t k, std::span<const uint8_t> bytes,
                            std::vector<RangeSection>& sections) const {
  if (k > 0 && k < images_) SectionCrcs(k, bytes, sections);
}

}  // namespace moswit
