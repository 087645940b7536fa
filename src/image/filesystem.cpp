#include "image/filesystem.h"

#include <algorithm>
#include <cstring>

#include "image/blocklayout.h"
#include "image/crc32.h"

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

BlockStatus ReadFileData(const tADF& image, const FileEntry& entry, bool ffs, VisitedMap& map,
                         std::vector<uint8_t>& buffer) {
  buffer.clear();
  const uint32_t count = BlockCount(image);
  const uint32_t h = entry.HeaderBlock;
  if (h >= count) return AtBlock(bsFileHeader | bsOutOfRange, h);

  const uint32_t length = std::min(ReadLong(BlockData(image, h), kByteSize), image.Size);
  buffer.assign(length, 0);
  map.assign(count, 0);

  uint32_t position = 0;
  unsigned index = kTableSlots;  // load the first table block before the first pointer
  uint32_t next = h;
  const uint8_t* table = nullptr;
  BlockStatus status = 0;
  while (position < length && status == 0) {
    if (index == kTableSlots) {
      const uint32_t t = next;
      if (t >= count) {
        status = AtBlock(bsFileExt | bsOutOfRange, t);
      } else if (map[t]) {
        status = AtBlock(bsFileExt | bsUsedTwice, t);
      } else {
        map[t] = 1;
        table = BlockData(image, t);
        if (!NormalChecksumHolds(table)) {
          status = AtBlock(bsFileExt | bsChecksumError, t);
        } else {
          next = ReadLong(table, kExtension);
          index = 0;
        }
      }
    }
    if (status != 0) break;

    const uint32_t d = ReadLong(table, kFirstDataSlot - index);
    if (d >= count) {
      status = AtBlock(bsData | bsOutOfRange, d);
    } else if (map[d]) {
      status = AtBlock(bsData | bsUsedTwice, d);
    } else {
      map[d] = 1;
      const uint8_t* data = BlockData(image, d);
      const uint32_t remaining = length - position;
      if (ffs) {
        const uint32_t n = std::min(remaining, kBlockSize);
        std::memcpy(buffer.data() + position, data, n);
        position += n;
      } else if (!NormalChecksumHolds(data)) {
        status = AtBlock(bsData | bsChecksumError, d);
      } else if (ReadLong(data, kPrimaryType) != kTypeData) {
        status = AtBlock(bsData | bsNotData, d);
      } else {
        const uint32_t n = std::min<uint32_t>(remaining, kOfsDataBytes);
        std::memcpy(buffer.data() + position, data + kOfsDataOffset, n);
        position += n;
      }
      ++index;
    }
  }
  return status;
}

void FreeFileList(FileList& list) {
  list.clear();
  list.shrink_to_fit();
}

void ReadFileCrcs(const tADF& image, FileList& list, bool ffs) {
  VisitedMap map;
  std::vector<uint8_t> buffer;
  for (FileEntry& entry : list) {
    entry.Status = ReadFileData(image, entry, ffs, map, buffer);
    if (entry.Status == 0) {
      uint32_t crc;
      CrcInit(crc);
      CrcUpdate(crc, buffer.data(), buffer.size());
      CrcFinal(crc);
      entry.Crc = crc;
    } else {
      entry.Crc = entry.Status;
    }
  }
}

FileList ListFiles(const tADF& image, bool ffs) {
  FileList list;
  VisitedMap visited;
  ClearVisitedMap(visited, image);
  WalkDirectory("/", image, list, kRootBlock, visited);
  ReadFileCrcs(image, list, ffs);
  return list;
}

}  // namespace moswit
