// The standard reflected CRC-32 (polynomial 0xEDB88320) of ZIP and Ethernet.
// A CRC is CrcInit, any number of CrcUpdate calls, then CrcFinal. Between
// CrcInit and CrcFinal the accumulator holds the raw (uncomplemented)
// register, so updates can be chained over consecutive pieces of data.
// All functions are thread-safe.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace moswit {

void CrcInit(uint32_t& accumulator);
void CrcUpdate(uint32_t& accumulator, const void* data, size_t length);
void CrcFinal(uint32_t& accumulator);

// Init, one update over `bytes`, final.
uint32_t Crc32(std::span<const uint8_t> bytes);

// The byte-at-a-time table form, kept as the reference for tests and
// benchmarks; gives the same values as CrcUpdate.
void CrcUpdateBytewise(uint32_t& accumulator, const void* data, size_t length);

// For tests and benchmarks: CrcUpdate restricted to the portable
// slicing-by-16 code, and whether CrcUpdate uses carry-less multiplication
// on this CPU.
void CrcUpdatePortable(uint32_t& accumulator, const void* data, size_t length);
bool CrcUsesClmul();

}  // namespace moswit
