// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/zipwriter.h"

#include <zlib.h>

#include <stdexcept>

namespace moswit::test {

namespace {

void Put16(Bytes& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

Bytes Deflate(const Bytes& data) {
  z_stream s{};
  if (deflateInit2(&s, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  Bytes out(deflateBound(&s, static_cast<uLong>(data.size())));
  s.next_in = const_cast<Bytef*>(data.data());
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  if (deflate(&s, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  out.resize(s.total_out);
  deflateEnd(&s);
  return out;
}

Bytes Gzip(const Bytes& data, size_t members) {
  Bytes out;
  const size_t share = data.size() / members;
  for (size_t k = 0; k < members; ++k) {
    const auto first = data.begin() + static_cast<std::ptrdiff_t>(k * share);
    const Bytes part(first,
                     k + 1 == members ? data.end() : first + static_cast<std::ptrdiff_t>(share));
    out.insert(out.end(), {0x1F, 0x8B, 8, 0, 0, 0, 0, 0, 0, 3});  // deflate, no name, no time
    const Bytes deflated = Deflate(part);
    out.insert(out.end(), deflated.begin(), deflated.end());
    Put32(out, static_cast<uint32_t>(crc32(0, part.data(), static_cast<uInt>(part.size()))));
    Put32(out, static_cast<uint32_t>(part.size()));
  }
  return out;
}

std::vector<ImageForm> ImageForms(const Bytes& image) {
  return {{".adf", image},
          {".adz", Gzip(image)},
          {".adf.gz", Gzip(image, 3)},
          {".zip", MakeZip({{"disk.adf", image}})}};
}

Bytes MakeZip(const std::vector<ZipMember>& members) {
  Bytes out;
  Bytes central;
  for (const ZipMember& m : members) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const Bytes stored = m.deflate ? Deflate(m.contents) : m.contents;
    const uint32_t crc =
        static_cast<uint32_t>(crc32(0, m.contents.data(), static_cast<uInt>(m.contents.size())));
    const uint16_t method = m.deflate ? 8 : 0;
    const uint16_t flags = m.dataDescriptor ? 8 : 0;
    const auto compressed = static_cast<uint32_t>(stored.size());
    const auto uncompressed = static_cast<uint32_t>(m.contents.size());

    Put32(out, 0x04034B50);
    Put16(out, 20);
    Put16(out, flags);
    Put16(out, method);
    Put16(out, 0);
    Put16(out, 0x21);
    Put32(out, m.dataDescriptor ? 0 : crc);
    Put32(out, m.dataDescriptor ? 0 : compressed);
    Put32(out, m.dataDescriptor ? 0 : uncompressed);
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, 0);
    out.insert(out.end(), m.name.begin(), m.name.end());
    out.insert(out.end(), stored.begin(), stored.end());
    if (m.dataDescriptor) {
      Put32(out, 0x08074B50);
      Put32(out, crc);
      Put32(out, compressed);
      Put32(out, uncompressed);
    }

    Put32(central, 0x02014B50);
    Put16(central, 20);
    Put16(central, 20);
    Put16(central, flags);
    Put16(central, method);
    Put16(central, 0);
    Put16(central, 0x21);
    Put32(central, crc);
    Put32(central, compressed);
    Put32(central, uncompressed);
    Put16(central, static_cast<uint32_t>(m.name.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, 0);
    Put32(central, offset);
    central.insert(central.end(), m.name.begin(), m.name.end());
  }
  const uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out.insert(out.end(), central.begin(), central.end());
  Put32(out, 0x06054B50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

}  // namespace moswit::test
