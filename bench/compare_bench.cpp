// SPDX-License-Identifier: GPL-2.0-or-later
// Comparison of 255 full images, as the Compare dialog makes it when every
// image of 255 open Inspectors is ticked, beside its floor measured in the
// same run: one pass that compares every image's bytes with the next
// image's, every byte as memcmp reads them on equal data, plus one CRC-32
// over every image. Then the same images as files, compared as moswit-cli
// compare does it (CompareImageFiles: each image read twice into one
// buffer), beside reading each file once into one buffer. Two sets of
// images:
//   - "variants": one disk and 254 copies, each with a few bytes changed in
//     a place of its own (the usual case: versions of one disk);
//   - "different": 255 disks with different contents on the same paths, so
//     nearly every position differs and every section is CRC'd per image.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "compare/compareimagefiles.h"
#include "compare/comparetables.h"
#include "compare/rangecompare.h"
#include "image/crc32.h"
#include "image/filesystem.h"
#include "recordingreporter.h"
#include "support/adfbuilder.h"

namespace {

using moswit::test::AdfBuilder;
using moswit::test::Bytes;

constexpr size_t kImages = moswit::kMaxComparedImages;

enum Shape { kVariants = 0, kDifferent = 1 };
const char* const kShapeNames[] = {"variants", "different"};

// A nearly full disk: 41 files, 800 KB of contents.
Bytes FullDisk(uint32_t seed) {
  AdfBuilder builder;
  builder.AddFile("/s/startup-sequence", moswit::test::PatternBytes(40, seed));
  for (int i = 0; i < 40; ++i) {
    builder.AddFile("/data/file" + std::to_string(i),
                    moswit::test::PatternBytes(20'000, seed * 100 + i));
  }
  return builder.Build();
}

struct Fixture {
  std::vector<Bytes> bytes;
  std::vector<moswit::FileList> files;
  std::vector<moswit::CompareImage> images;
};

Fixture* MakeFixture(Shape shape) {
  auto* f = new Fixture;
  const Bytes base = FullDisk(1);
  for (size_t k = 0; k < kImages; ++k) {
    if (shape == kDifferent) {
      f->bytes.push_back(FullDisk(static_cast<uint32_t>(k + 1)));
      continue;
    }
    Bytes variant = base;
    if (k > 0) {
      const size_t at = (k * 3517) % (variant.size() - 16);
      for (size_t i = 0; i < 16; i += 5) variant[at + i] ^= 0xFF;
    }
    f->bytes.push_back(std::move(variant));
  }
  for (const Bytes& bytes : f->bytes) {
    const moswit::tADF image{"image.adf", static_cast<uint32_t>(bytes.size()), bytes};
    f->files.push_back(moswit::ListFiles(image, moswit::ImageIsFfs(image)));
  }
  for (size_t k = 0; k < kImages; ++k) {
    f->images.push_back({static_cast<uint8_t>(k), f->bytes[k], f->files[k]});
  }
  return f;
}

const Fixture& Shared(Shape shape) {
  static Fixture* fixtures[2] = {nullptr, nullptr};
  if (!fixtures[shape]) fixtures[shape] = MakeFixture(shape);
  return *fixtures[shape];
}

void BM_CompareTables(benchmark::State& state) {
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  size_t rows = 0;
  for (auto _ : state) {
    const moswit::CompareTables tables = moswit::BuildCompareTables(f.images);
    rows = tables.ranges.rows.size();
    benchmark::DoNotOptimize(tables.files.rows.data());
  }
  state.counters["range_rows"] = static_cast<double>(rows);
  state.SetBytesProcessed(state.iterations() * int64_t{kImages} * moswit::kCompareAreaSize);
}
BENCHMARK(BM_CompareTables)
    ->ArgName("shape")
    ->Arg(kVariants)
    ->Arg(kDifferent)
    ->Unit(benchmark::kMillisecond);

// The range table alone, without texts.
void BM_CompareRanges(benchmark::State& state) {
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  for (auto _ : state) {
    auto sections = moswit::CompareRanges(f.images);
    benchmark::DoNotOptimize(sections.data());
  }
}
BENCHMARK(BM_CompareRanges)
    ->ArgName("shape")
    ->Arg(kVariants)
    ->Arg(kDifferent)
    ->Unit(benchmark::kMillisecond);

// Every byte of image k against image k+1 (the last against the first), in
// 64-byte chunks, then a CRC-32 of every image's compared area.
void BM_Floor(benchmark::State& state) {
  const Fixture& f = Shared(static_cast<Shape>(state.range(0)));
  constexpr size_t kChunk = 64;
  for (auto _ : state) {
    size_t differing = 0;
    for (size_t k = 0; k < kImages; ++k) {
      const uint8_t* a = f.bytes[k].data();
      const uint8_t* b = f.bytes[(k + 1) % kImages].data();
      for (size_t at = 0; at < moswit::kCompareAreaSize; at += kChunk) {
        uint64_t diff = 0;
        for (size_t i = 0; i < kChunk; i += 8) {
          uint64_t x, y;
          std::memcpy(&x, a + at + i, 8);
          std::memcpy(&y, b + at + i, 8);
          diff |= x ^ y;
        }
        differing += diff != 0;
      }
    }
    uint32_t sum = 0;
    for (const Bytes& bytes : f.bytes)
      sum += moswit::Crc32({bytes.data(), moswit::kCompareAreaSize});
    benchmark::DoNotOptimize(differing);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kImages} * moswit::kCompareAreaSize);
}
BENCHMARK(BM_Floor)
    ->ArgName("shape")
    ->Arg(kVariants)
    ->Arg(kDifferent)
    ->Unit(benchmark::kMillisecond);

// The images of a shape as files, written once.
const std::vector<std::string>& Files(Shape shape) {
  static std::vector<std::string> files[2];
  if (files[shape].empty()) {
    const auto dir = std::filesystem::temp_directory_path() /
                     (std::string("moswit-bench-compare-") + kShapeNames[shape]);
    std::filesystem::create_directories(dir);
    const Fixture& f = Shared(shape);
    for (size_t k = 0; k < kImages; ++k) {
      const auto path = dir / ("image" + std::to_string(k) + ".adf");
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(f.bytes[k].data()),
                static_cast<std::streamsize>(f.bytes[k].size()));
      files[shape].push_back(path.string());
    }
  }
  return files[shape];
}

void BM_CompareImageFiles(benchmark::State& state) {
  const auto& files = Files(static_cast<Shape>(state.range(0)));
  for (auto _ : state) {
    moswit::CompareTables tables;
    moswit::FileError error;
    if (!moswit::CompareImageFiles(files, tables, error)) state.SkipWithError("not compared");
    benchmark::DoNotOptimize(tables.ranges.rows.data());
  }
}
BENCHMARK(BM_CompareImageFiles)
    ->ArgName("shape")
    ->Arg(kVariants)
    ->Arg(kDifferent)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Each file read once into one buffer, what any reader of the images pays.
void BM_ReadEachFile(benchmark::State& state) {
  const auto& files = Files(static_cast<Shape>(state.range(0)));
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    size_t sum = 0;
    for (const std::string& path : files) {
      std::FILE* file = std::fopen(path.c_str(), "rb");
      if (!file) continue;
      size_t got;
      while ((got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) sum += got;
      std::fclose(file);
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ReadEachFile)
    ->ArgName("shape")
    ->Arg(kVariants)
    ->Arg(kDifferent)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  moswit::bench::RecordingReporter reporter;
  if (!moswit::bench::RunRecorded(argc, argv, reporter)) return 1;

  for (int shape = 0; shape < 2; ++shape) {
    const std::string arg = "/shape:" + std::to_string(shape);
    const double ours = reporter.Time("BM_CompareTables" + arg);
    const double floor = reporter.Time("BM_Floor" + arg);
    if (ours > 0 && floor > 0) {
      std::printf(
          "%s: %zu images in %.1f ms, floor %.1f ms, ratio %.2f (goal: at most 2.00, under "
          "100 ms)\n",
          kShapeNames[shape], kImages, ours, floor, ours / floor);
    }
    const double files = reporter.Time("BM_CompareImageFiles" + arg + "/real_time", true);
    const double read = reporter.Time("BM_ReadEachFile" + arg + "/real_time", true);
    if (files > 0 && read > 0) {
      std::printf(
          "%s: %zu image files compared in %.1f ms, read once in %.1f ms, ratio %.2f (goal: at "
          "most 5.00)\n",
          kShapeNames[shape], kImages, files, read, files / read);
    }
  }
  return 0;
}
