// SPDX-License-Identifier: GPL-2.0-or-later
#include "image/gzipstream.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace moswit {

namespace {

// The file is read a piece at a time, so trailing bytes of any length cost
// no memory.
constexpr size_t kInputChunk = 64 * 1024;
// Room for a double-density image at once; a high-density one grows it once.
constexpr size_t kFirstOutput = 1024 * 1024;
// zlib's window bits with 16 added: a gzip wrapper, checked with its CRC-32
// and length.
constexpr int kGzipWindowBits = MAX_WBITS + 16;

constexpr char kDamaged[] = "Damaged gzip data: ";

// The bytes of the source not yet handed to the decoder.
class Input {
 public:
  Input(ByteSource& source, z_stream& stream)
      : source_(source), stream_(stream), buffer_(kInputChunk) {
    stream_.next_in = buffer_.data();
    stream_.avail_in = 0;
  }

  bool AtEnd() const { return stream_.avail_in == 0 && next_ >= source_.Length(); }

  // Keeps the bytes the decoder has not taken and reads more behind them.
  bool Refill(std::string& error) {
    const size_t kept = stream_.avail_in;
    std::memmove(buffer_.data(), stream_.next_in, kept);
    const size_t room = buffer_.size() - kept;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(room, source_.Length() - next_));
    if (!source_.ReadAt(next_, buffer_.data() + kept, count, error)) return false;
    next_ += count;
    stream_.next_in = buffer_.data();
    stream_.avail_in = static_cast<uInt>(kept + count);
    return true;
  }

  // Sets `follows` when the next two bytes start a gzip member; false when
  // they cannot be read.
  bool MemberFollows(bool& follows, std::string& error) {
    if (stream_.avail_in < 2 && next_ < source_.Length() && !Refill(error)) return false;
    follows = stream_.avail_in >= 2 && HasGzipSignature(stream_.next_in);
    return true;
  }

 private:
  ByteSource& source_;
  z_stream& stream_;
  std::vector<uint8_t> buffer_;
  uint64_t next_ = 0;  // offset of the first byte not yet read
};

class Inflater {
 public:
  Inflater() { ready_ = inflateInit2(&stream_, kGzipWindowBits) == Z_OK; }
  ~Inflater() {
    if (ready_) inflateEnd(&stream_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  bool Ready() const { return ready_; }
  z_stream& Stream() { return stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

std::string TooLarge(uint32_t maxSize) {
  return "Image too large: the gzip data decodes to more than " + std::to_string(maxSize) +
         " bytes";
}

}  // namespace

bool HasGzipSignature(const uint8_t* first2) { return first2[0] == 0x1F && first2[1] == 0x8B; }

bool DecodeGzip(ByteSource& source, uint32_t maxSize, std::vector<uint8_t>& out,
                std::string& error) {
  Inflater inflater;
  if (!inflater.Ready()) {
    error = "Cannot start the gzip decoder";
    return false;
  }
  z_stream& stream = inflater.Stream();
  Input input(source, stream);
  // One byte past the limit tells a stream that is too large.
  const size_t limit = size_t{maxSize} + 1;
  out.resize(std::min(std::max(out.capacity(), kFirstOutput), limit));
  size_t produced = 0;

  for (;;) {
    if (stream.avail_in == 0 && !input.AtEnd() && !input.Refill(error)) return false;
    if (produced == out.size()) out.resize(std::min(out.size() * 2, limit));
    stream.next_out = out.data() + produced;
    stream.avail_out = static_cast<uInt>(out.size() - produced);
    const int result = inflate(&stream, Z_NO_FLUSH);
    produced = out.size() - stream.avail_out;
    if (produced > maxSize) {
      error = TooLarge(maxSize);
      return false;
    }
    if (result == Z_STREAM_END) {
      bool follows = false;
      if (!input.MemberFollows(follows, error)) return false;
      if (!follows) break;
      inflateReset(&stream);
    } else if (result == Z_BUF_ERROR) {
      // No progress: the output is full (it grows above), or the input ran
      // out inside a member.
      if (input.AtEnd()) {
        error = std::string(kDamaged) + "unexpected end of file";
        return false;
      }
    } else if (result != Z_OK) {
      error = std::string(kDamaged) +
              (stream.msg ? stream.msg : "zlib error " + std::to_string(result));
      return false;
    }
  }
  out.resize(produced);
  return true;
}

}  // namespace moswit
