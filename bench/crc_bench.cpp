// SPDX-License-Identifier: GPL-2.0-or-later
// CRC-32 throughput: our CrcUpdate, its portable path, the bytewise table
// and zlib's crc32(), on a 1 MiB buffer and on one 512-byte block. After
// the benchmarks the ratio of our throughput to zlib's is printed per size.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "image/crc32.h"
#include "recordingreporter.h"

namespace {

using UpdateFn = void (*)(uint32_t&, const void*, size_t);

constexpr int64_t k512B = 512;
constexpr int64_t k1MiB = int64_t{1} << 20;

const std::vector<uint8_t>& Buffer() {
  static const std::vector<uint8_t> buffer = [] {
    std::vector<uint8_t> bytes(static_cast<size_t>(k1MiB));
    std::mt19937 rng(1);
    for (auto& b : bytes) b = static_cast<uint8_t>(rng());
    return bytes;
  }();
  return buffer;
}

// zlib's crc32() works on the complemented register.
void ZlibUpdate(uint32_t& accumulator, const void* data, size_t length) {
  accumulator = ~static_cast<uint32_t>(
      crc32(~accumulator, static_cast<const Bytef*>(data), static_cast<uInt>(length)));
}

void BM_Crc(benchmark::State& state, UpdateFn update) {
  const auto length = static_cast<size_t>(state.range(0));
  const uint8_t* data = Buffer().data();
  for (auto _ : state) {
    uint32_t acc = 0xFFFFFFFFu;
    update(acc, data, length);
    benchmark::DoNotOptimize(acc);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

BENCHMARK_CAPTURE(BM_Crc, ours, &moswit::CrcUpdate)->Arg(k1MiB)->Arg(k512B);
BENCHMARK_CAPTURE(BM_Crc, portable, &moswit::CrcUpdatePortable)->Arg(k1MiB)->Arg(k512B);
BENCHMARK_CAPTURE(BM_Crc, bytewise, &moswit::CrcUpdateBytewise)->Arg(k1MiB)->Arg(k512B);
BENCHMARK_CAPTURE(BM_Crc, zlib, &ZlibUpdate)->Arg(k1MiB)->Arg(k512B);

// Prints as usual and keeps the CPU time per iteration of each benchmark: the
// median when repetitions were asked for, else the mean of the runs.
}  // namespace

int main(int argc, char** argv) {
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;

  std::printf("carry-less multiply: %s\n", moswit::CrcUsesClmul() ? "yes" : "no");
  const struct {
    const char* label;
    int64_t size;
  } sizes[] = {{"1MiB", k1MiB}, {"512B", k512B}};
  for (const auto& size : sizes) {
    const auto mean_time = [&](std::string name) {
      name.append(std::to_string(size.size));
      return reporter.Time(name);
    };
    const double ours = mean_time("BM_Crc/ours/");
    const double zlib = mean_time("BM_Crc/zlib/");
    if (ours > 0 && zlib > 0) std::printf("ratio ours/zlib %s: %.2f\n", size.label, zlib / ours);
  }
  return 0;
}
