#include "imaging/adler32.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavlix::imaging {
namespace {

constexpr std::uint32_t kBase = 65521;
// The most bytes summed before the sums are reduced: zlib's NMAX, rounded
// down to whole 16-byte blocks, keeps every 32-bit sum below 2^32.
constexpr std::size_t kChunk = std::size_t{5552} / 16 * 16;

void AddBytes(std::uint32_t& a, std::uint32_t& b, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    a += p[i];
    b += a;
  }
}

#if defined(__SSE2__)
// Adds `n` bytes (a multiple of 16, at most kChunk) to the unreduced sums.
void AddBlocks(std::uint32_t& a, std::uint32_t& b, const std::uint8_t* p, std::size_t n) {
  const __m128i zero = _mm_setzero_si128();
  // Byte i of a block weighs 16 - i in the second sum.
  const __m128i weights_low = _mm_set_epi16(9, 10, 11, 12, 13, 14, 15, 16);
  const __m128i weights_high = _mm_set_epi16(1, 2, 3, 4, 5, 6, 7, 8);
  __m128i sums = zero;      // byte sums (two 64-bit lanes)
  __m128i earlier = zero;   // the byte sums before each block, added up
  __m128i weighted = zero;  // the weighted bytes (four 32-bit lanes)
  for (std::size_t k = 0; k < n; k += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
    earlier = _mm_add_epi64(earlier, sums);
    sums = _mm_add_epi64(sums, _mm_sad_epu8(block, zero));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpacklo_epi8(block, zero), weights_low));
    weighted = _mm_add_epi32(weighted, _mm_madd_epi16(_mm_unpackhi_epi8(block, zero), weights_high));
  }
  alignas(16) std::uint64_t s[2], e[2];
  alignas(16) std::uint32_t w[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(s), sums);
  _mm_store_si128(reinterpret_cast<__m128i*>(e), earlier);
  _mm_store_si128(reinterpret_cast<__m128i*>(w), weighted);
  const std::uint64_t bytes_sum = s[0] + s[1];
  const std::uint64_t second =
      std::uint64_t{b} + std::uint64_t{a} * n + 16 * (e[0] + e[1]) + std::uint64_t{w[0]} + w[1] + w[2] + w[3];
  a = static_cast<std::uint32_t>((a + bytes_sum) % kBase);
  b = static_cast<std::uint32_t>(second % kBase);
}
#else
void AddBlocks(std::uint32_t& a, std::uint32_t& b, const std::uint8_t* p, std::size_t n) {
  AddBytes(a, b, p, n);
}
#endif

}  // namespace

std::uint32_t Adler32(std::uint32_t adler, std::span<const std::uint8_t> bytes) {
  std::uint32_t a = adler & 0xFFFF;
  std::uint32_t b = adler >> 16;
  const std::uint8_t* p = bytes.data();
  std::size_t left = bytes.size();
  while (left >= 16) {
    const std::size_t n = std::min(left, kChunk) / 16 * 16;
    AddBlocks(a, b, p, n);
    a %= kBase;
    b %= kBase;
    p += n;
    left -= n;
  }
  AddBytes(a, b, p, left);
  return (b % kBase) << 16 | (a % kBase);
}

}  // namespace tavlix::imaging
