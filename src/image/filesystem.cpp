// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/filesystem.h"

#include <algorithm>
#include <cstring>

#include "image/blocklayout.h"
#include "image/crc32.h"
#include "image/geometry.h"

namespace moswit {

namespace {

void AppendCut(std::string& text, const std::string& tail) {
  text.append(tail, 0, kMaxPathLength > text.size() ? kMaxPathLength - text.size() : 0);
}

// One directory being walked: its block, path, hash slot and the next entry
// of the current chain.
struct DirFrame {
  const uint8_t* block;
  std::string path;
  unsigned slot;
  uint32_t entry;
};

// Marks and checks a directory block; false when it is not to be walked.
bool EnterDirectory(const tADF& image, uint32_t block, VisitedMap& visited) {
  const uint8_t* data = BlockData(image, block);
  if (!data || visited[block]) return false;
  visited[block] = 1;
  return NormalChecksumHolds(data);
}

}  // namespace

void ClearVisitedMap(VisitedMap& visited, const tADF& image) {
  visited.assign(BlockCount(image), 0);
}

bool ImageIsFfs(const tADF& image) { return image.Size >= 4 && (image.Data[3] & 1u) != 0; }

std::string BlockName(const tADF& image, uint32_t block) {
  const size_t at = static_cast<size_t>(block) * kBlockSize + kNameOffset;
  if (BlockData(image, block) == nullptr) return {};
  const size_t length = std::min<size_t>(image.Data[at], image.Size - (at + 1));
  return std::string(reinterpret_cast<const char*>(image.Data.data() + at + 1), length);
}

void WalkDirectory(const std::string& path, const tADF& image, FileList& list, uint32_t block,
                   VisitedMap& visited) {
  if (visited.size() < BlockCount(image)) visited.resize(BlockCount(image), 0);
  if (!EnterDirectory(image, block, visited)) return;

  // An explicit stack instead of recursion: a damaged disk may nest
  // directories as deep as it has blocks.
  std::vector<DirFrame> stack;
  const uint8_t* root = BlockData(image, block);
  std::string start;
  AppendCut(start, path);
  stack.push_back({root, std::move(start), 0, ReadLong(root, kHashTable)});

  const uint32_t count = BlockCount(image);
  while (!stack.empty()) {
    DirFrame& dir = stack.back();
    const uint32_t e = dir.entry;
    if (e == 0 || e >= count || visited[e]) {
      // The chain ends; go on with the next slot.
      if (++dir.slot == kTableSlots) {
        stack.pop_back();
      } else {
        dir.entry = ReadLong(dir.block, kHashTable + dir.slot);
      }
      continue;
    }
    visited[e] = 1;
    const uint8_t* data = BlockData(image, e);
    dir.entry = ReadLong(data, kHashChain);
    const BlockStatus kind = ClassifyBlock(image, e);
    if (kind == bsUserDir) {
      std::string childPath = dir.path;
      AppendCut(childPath, BlockName(image, e));
      AppendCut(childPath, "/");
      visited[e] = 0;  // EnterDirectory marks it again
      if (EnterDirectory(image, e, visited)) {
        stack.push_back({data, std::move(childPath), 0, ReadLong(data, kHashTable)});
      }
    } else if (kind == bsFileHeader) {
      FileEntry file;
      file.Path = dir.path;
      AppendCut(file.Path, BlockName(image, e));
      file.Size = ReadLong(data, kByteSize);
      file.HeaderBlock = e;
      list.push_back(std::move(file));
    }
  }
}

namespace {

// Whether data block `dataBlock` fails as an OFS data block: 0, or the fault. The
// block is read only when the CRCs taken beforehand do not vouch for it.
BlockStatus OfsDataFault(const tADF& image, uint32_t dataBlock, const BlockCrcs* crcs) {
  if (crcs && crcs->IsOfsData(dataBlock)) return 0;
  const uint8_t* data = BlockData(image, dataBlock);
  if (!NormalChecksumHolds(data)) return bsChecksumError;
  if (ReadLong(data, kPrimaryType) != kTypeData) return bsNotData;
  return 0;
}

// Follows the data block tables of one file and hands each piece of its
// contents, in order, to `take(block, data, count)`. Returns 0 or the
// BlockStatus of the first fault; `length` is the byte size cut to the image
// size.
template <typename Take>
BlockStatus FollowFileChain(const tADF& image, uint32_t header, uint32_t length, bool ffs,
                            VisitedMap& map, const BlockCrcs* crcs, Take&& take) {
  const uint32_t count = BlockCount(image);
  map.assign(count, 0);

  uint32_t position = 0;
  unsigned index = kTableSlots;  // load the first table block before the first pointer
  uint32_t next = header;
  const uint8_t* table = nullptr;
  while (position < length) {
    if (index == kTableSlots) {
      const uint32_t tableBlock = next;
      if (tableBlock >= count) return AtBlock(bsFileExt | bsOutOfRange, tableBlock);
      if (map[tableBlock]) return AtBlock(bsFileExt | bsUsedTwice, tableBlock);
      map[tableBlock] = 1;
      table = BlockData(image, tableBlock);
      if (!NormalChecksumHolds(table)) return AtBlock(bsFileExt | bsChecksumError, tableBlock);
      next = ReadLong(table, kExtension);
      index = 0;
    }

    const uint32_t dataBlock = ReadLong(table, kFirstDataSlot - index);
    if (dataBlock >= count) return AtBlock(bsData | bsOutOfRange, dataBlock);
    if (map[dataBlock]) return AtBlock(bsData | bsUsedTwice, dataBlock);
    map[dataBlock] = 1;
    const uint8_t* data = BlockData(image, dataBlock);
    const uint32_t remaining = length - position;
    uint32_t n;
    if (ffs) {
      n = std::min(remaining, kBlockSize);
    } else {
      if (const BlockStatus fault = OfsDataFault(image, dataBlock, crcs))
        return AtBlock(bsData | fault, dataBlock);
      n = std::min<uint32_t>(remaining, kOfsDataBytes);
      data += kOfsDataOffset;
    }
    take(dataBlock, data, n);
    position += n;
    ++index;
  }
  return 0;
}

// The byte size of the file at header `header` (< BlockCount), cut to the image.
uint32_t ReadLength(const tADF& image, uint32_t header) {
  return std::min(ReadLong(BlockData(image, header), kByteSize), image.Size);
}

}  // namespace

BlockStatus ReadFileData(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                         std::vector<uint8_t>& buffer) {
  buffer.clear();
  const uint32_t header = entry.HeaderBlock;
  if (header >= BlockCount(image)) return AtBlock(bsFileHeader | bsOutOfRange, header);
  const uint32_t length = ReadLength(image, header);
  // Zero-filled, so whatever a fault leaves unread stays zero.
  buffer.assign(length, 0);
  uint8_t* out = buffer.data();
  return FollowFileChain(image, header, length, ffs, map, nullptr,
                         [&out](uint32_t, const uint8_t* data, uint32_t n) {
                           std::memcpy(out, data, n);
                           out += n;
                         });
}

BlockStatus ReadFileCrc(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                        uint32_t& crc) {
  const uint32_t header = entry.HeaderBlock;
  if (header >= BlockCount(image)) return AtBlock(bsFileHeader | bsOutOfRange, header);
  uint32_t accumulator;
  CrcInit(accumulator);
  const BlockStatus status =
      FollowFileChain(image, header, ReadLength(image, header), ffs, map, nullptr,
                      [&accumulator](uint32_t, const uint8_t* data, uint32_t n) {
                        CrcUpdate(accumulator, data, n);
                      });
  CrcFinal(accumulator);
  crc = accumulator;
  return status;
}

BlockStatus ReadFileCrc(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                        const BlockCrcs& crcs, uint32_t& crc) {
  if (!crcs.CoversImage(image)) return ReadFileCrc(image, entry, ffs, map, crc);
  const uint32_t header = entry.HeaderBlock;
  if (header >= BlockCount(image)) return AtBlock(bsFileHeader | bsOutOfRange, header);
  const uint32_t whole = ffs ? kBlockSize : kOfsDataBytes;
  // Whole blocks from their CRCs (an OFS block reaching here is OFS data,
  // the chain checked it); from the first block that is not (the last,
  // partial one) on, the bytes go on from the register.
  CrcRun run(ffs ? kCrcShift512 : kCrcShift488, ffs ? kCrcShift2048 : kCrcShift1952);
  bool inRun = true;
  uint32_t accumulator = 0;
  const BlockStatus status =
      FollowFileChain(image, header, ReadLength(image, header), ffs, map, &crcs,
                      [&](uint32_t block, const uint8_t* data, uint32_t n) {
                        if (inRun && n == whole) {
                          run.Add(ffs ? crcs.Crc(block) : crcs.ContentsCrc(block));
                          return;
                        }
                        if (inRun) accumulator = ~run.Crc();
                        inRun = false;
                        CrcUpdate(accumulator, data, n);
                      });
  crc = inRun ? run.Crc() : ~accumulator;
  return status;
}

void FreeFileList(FileList& list) {
  list.clear();
  list.shrink_to_fit();
}

void ReadFileCrcs(const tADF& image, FileList& list, bool ffs, const BlockCrcs* crcs) {
  VisitedMap map;
  for (FileEntry& entry : list) {
    uint32_t crc = 0;
    entry.Status = crcs ? ReadFileCrc(image, entry, ffs, map, *crcs, crc)
                        : ReadFileCrc(image, entry, ffs, map, crc);
    entry.Crc = entry.Status == 0 ? crc : entry.Status;
  }
}

FileList ListFiles(const tADF& image, bool ffs, const BlockCrcs* crcs) {
  FileList list;
  VisitedMap visited;
  ClearVisitedMap(visited, image);
  WalkDirectory("/", image, list, RootBlock(image), visited);
  ReadFileCrcs(image, list, ffs, crcs);
  return list;
}

}  // namespace moswit
