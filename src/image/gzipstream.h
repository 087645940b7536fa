// SPDX-License-Identifier: GPL-2.0-or-later
// A gzip file (an .adz or .adf.gz image): one or more gzip members in a
// row, decoded as one stream the way gzip itself does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/zipmember.h"

namespace moswit {

// No gzip stream decoding to more than this is loaded: a floppy image is
// far smaller, and a bomb of a few kilobytes could otherwise fill memory.
constexpr uint32_t kMaxGzipImageSize = 4u * 1024u * 1024u;

bool HasGzipSignature(const uint8_t* first2);

// Decodes the members of `source` one after another into `out`, which ends
// up exactly as long as what they decoded to. Bytes after a member that do
// not start another member are ignored, as gzip ignores trailing garbage.
// Fails, with a reason in `error`, when the data decodes to more than
// `maxSize` bytes, when a member is damaged (bad header, bad data, a CRC-32
// or length that does not match what decoded) or when the file ends inside
// a member.
bool DecodeGzip(ByteSource& source, uint32_t maxSize, std::vector<uint8_t>& out,
                std::string& error);

}  // namespace moswit
