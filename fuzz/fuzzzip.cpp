// SPDX-License-Identifier: GPL-2.0-or-later
// Arbitrary bytes as a ZIP archive in memory: its central directory read,
// its image members picked, every name shown and every member decoded.
// Whatever the entries claim (sizes, offsets, counts, names), reading stays
// inside the bytes, a member decodes to at most the limit or fails with a
// reason, image members are files among the entries, and a shown name is
// UTF-8 without control bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "image/zipmember.h"

namespace {

// Small enough that an archive of many entries each declaring the most
// still runs quickly.
constexpr uint32_t kMaxMemberSize = 256 * 1024;
constexpr size_t kMostMembersDecoded = 64;

void Fail(const char* what) {
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
}

bool ShowableName(const std::string& name) {
  for (size_t at = 0; at < name.size();) {
    const std::optional<moswit::Utf8Letter> letter = moswit::DecodeUtf8(name, at);
    if (!letter || letter->letter < 32 || letter->letter == 0x7F) return false;
    at += letter->length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  moswit::MemorySource source(data, size);
  std::vector<moswit::ZipEntry> entries;
  std::string error;
  if (!moswit::ReadZipEntries(source, entries, error)) {
    if (error.empty()) Fail("a directory that cannot be read says why");
    return 0;
  }
  if (entries.empty()) Fail("an archive read has at least its first member");
  const std::vector<size_t> images = moswit::ZipImageMembers(entries);
  for (const size_t i : images) {
    if (i >= entries.size() || moswit::IsZipFolder(entries[i])) Fail("image members are files");
  }
  if (images.empty() && moswit::NoZipImageReason(entries).empty()) {
    Fail("an archive without images says why");
  }
  for (size_t i = 0; i < entries.size() && i < kMostMembersDecoded; ++i) {
    if (!ShowableName(moswit::ZipEntryName(entries[i]))) Fail("names shown are clean UTF-8");
    std::vector<uint8_t> out;
    error.clear();
    if (moswit::ExtractZipMember(source, entries[i], kMaxMemberSize, out, error)) {
      if (out.size() > kMaxMemberSize) Fail("a member is never larger than the limit");
    } else if (error.empty()) {
      Fail("a member that does not decode says why");
    }
  }
  return 0;
}
