#include "platform/common/png_unfilter.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#define PELMOT_HAVE_SSE2_FILTERS 1
#endif

namespace pelmot {
namespace {

// The neighbour (left a, above b, above-left c) nearest to a + b - c; ties
// go to a, then b.
inline unsigned char Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  if (pa <= pb && pa <= pc) return static_cast<unsigned char>(a);
  return static_cast<unsigned char>(pb <= pc ? b : c);
}

void SubRow(unsigned char* row, std::size_t count, int bpp) {
  for (std::size_t i = bpp; i < count; ++i) row[i] = static_cast<unsigned char>(row[i] + row[i - bpp]);
}

void UpRow(unsigned char* row, const unsigned char* prior, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) row[i] = static_cast<unsigned char>(row[i] + prior[i]);
}

void AverageRow(unsigned char* row, const unsigned char* prior, std::size_t count, int bpp) {
  const std::size_t first = std::min<std::size_t>(bpp, count);
  for (std::size_t i = 0; i < first; ++i) row[i] = static_cast<unsigned char>(row[i] + (prior[i] >> 1));
  for (std::size_t i = bpp; i < count; ++i)
    row[i] = static_cast<unsigned char>(row[i] + ((row[i - bpp] + prior[i]) >> 1));
}

void PaethRow(unsigned char* row, const unsigned char* prior, std::size_t count, int bpp) {
  const std::size_t first = std::min<std::size_t>(bpp, count);
  for (std::size_t i = 0; i < first; ++i) row[i] = static_cast<unsigned char>(row[i] + prior[i]);
  for (std::size_t i = bpp; i < count; ++i)
    row[i] = static_cast<unsigned char>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
}

#ifdef PELMOT_HAVE_SSE2_FILTERS
// Three- and four-byte pixels, one pixel per step in the low lanes of a
// register. A three-byte pixel is loaded and stored with three bytes, so
// nothing outside the row is touched.
// (Three bytes are put together in registers: a partial copy through memory
// would stall every load on the store before it.)
template <int kBytes>
__m128i Load(const unsigned char* p) {
  std::uint32_t v;
  if constexpr (kBytes == 4) {
    std::memcpy(&v, p, 4);
  } else {
    std::uint16_t low;
    std::memcpy(&low, p, 2);
    v = low | std::uint32_t{p[2]} << 16;
  }
  return _mm_cvtsi32_si128(static_cast<int>(v));
}

template <int kBytes>
void Store(unsigned char* p, __m128i v) {
  const auto bits = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
  if constexpr (kBytes == 4) {
    std::memcpy(p, &bits, 4);
  } else {
    const auto low = static_cast<std::uint16_t>(bits);
    std::memcpy(p, &low, 2);
    p[2] = static_cast<unsigned char>(bits >> 16);
  }
}

template <int kBytes>
void SubPixels(unsigned char* row, std::size_t count) {
  __m128i left = _mm_setzero_si128();
  for (std::size_t i = 0; i + kBytes <= count; i += kBytes) {
    left = _mm_add_epi8(Load<kBytes>(row + i), left);
    Store<kBytes>(row + i, left);
  }
}

template <int kBytes>
void AveragePixels(unsigned char* row, const unsigned char* prior, std::size_t count) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i left = _mm_setzero_si128();
  for (std::size_t i = 0; i + kBytes <= count; i += kBytes) {
    const __m128i above = Load<kBytes>(prior + i);
    // The rounded-up mean, less the bit it rounded up by: (a + b) >> 1.
    const __m128i mean =
        _mm_sub_epi8(_mm_avg_epu8(left, above), _mm_and_si128(_mm_xor_si128(left, above), one));
    left = _mm_add_epi8(Load<kBytes>(row + i), mean);
    Store<kBytes>(row + i, left);
  }
}

inline __m128i Abs16(__m128i v) { return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v)); }

inline __m128i Pick(__m128i mask, __m128i yes, __m128i no) {
  return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Sixteen-bit lanes, so a + b - c never wraps.
template <int kBytes>
void PaethPixels(unsigned char* row, const unsigned char* prior, std::size_t count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i a = zero, c = zero;
  for (std::size_t i = 0; i + kBytes <= count; i += kBytes) {
    const __m128i b = _mm_unpacklo_epi8(Load<kBytes>(prior + i), zero);
    const __m128i x = _mm_unpacklo_epi8(Load<kBytes>(row + i), zero);
    const __m128i towardB = _mm_sub_epi16(b, c), towardA = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(towardB), pb = Abs16(towardA), pc = Abs16(_mm_add_epi16(towardB, towardA));
    const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
    const __m128i nearest =
        Pick(_mm_cmpeq_epi16(pa, smallest), a, Pick(_mm_cmpeq_epi16(pb, smallest), b, c));
    a = _mm_add_epi8(x, nearest);  // the high byte of each lane stays 0
    Store<kBytes>(row + i, _mm_packus_epi16(a, a));
    c = b;
  }
}
#endif

}  // namespace

void UnfilterRow(int type, unsigned char* row, const unsigned char* prior, std::size_t count, int pixelBytes) {
  // Whole rows of three- and four-byte pixels: count is a multiple of them.
#ifdef PELMOT_HAVE_SSE2_FILTERS
  const bool wide = pixelBytes == 3 || pixelBytes == 4;
  if (wide && type == 1) return pixelBytes == 3 ? SubPixels<3>(row, count) : SubPixels<4>(row, count);
  if (wide && type == 3)
    return pixelBytes == 3 ? AveragePixels<3>(row, prior, count) : AveragePixels<4>(row, prior, count);
  if (wide && type == 4)
    return pixelBytes == 3 ? PaethPixels<3>(row, prior, count) : PaethPixels<4>(row, prior, count);
#endif
  switch (type) {
    case 1: return SubRow(row, count, pixelBytes);
    case 2: return UpRow(row, prior, count);
    case 3: return AverageRow(row, prior, count, pixelBytes);
    case 4: return PaethRow(row, prior, count, pixelBytes);
    default: return;
  }
}

}  // namespace pelmot
