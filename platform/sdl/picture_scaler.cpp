// SPDX-License-Identifier: GPL-3.0-or-later
// Converting and scaling the picture into output rows. The loops are built once for the baseline
// processor and once for AVX2 (chosen at run time); both compute exactly the same integers.
#include "platform/sdl/picture_scaler.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "platform/sdl/pixel_conversion.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VORLANIX_X86 1
#endif

namespace platform {

// The filtered rows hold a pixel's four channels as 16-bit lanes in memory order; the loops read
// the bytes of an XRGB8888 pixel as blue, green, red, unused.
static_assert(std::endian::native == std::endian::little);

namespace {

// Pictures larger than this are written past the caches (a 1440 x 1080 one is, a 1024 x 768 one
// is not).
constexpr size_t kStreamedPictureBytes = size_t{4} << 20;

// Where the AVX2 filter keeps the pixels of a block of eight: pixel i in place kBlockOrder[i]
// (and the pixel in place i is kBlockOrder[i] too).
constexpr int32_t kBlockOrder[8] = {0, 1, 4, 5, 2, 3, 6, 7};

// One row widened to XRGB8888, `times` copies of each pixel side by side. A fixed count lets the
// compiler vectorise the copies.
template <int32_t Times>
inline __attribute__((always_inline)) void repeatPixels(const uint16_t* __restrict in, int32_t n,
                                                        uint32_t* __restrict out) {
    for (int32_t x = 0; x < n; ++x) {
        const uint32_t p = Rgb565ToXrgb8888(in[x]);
        for (int32_t i = 0; i < Times; ++i) out[x * Times + i] = p;
    }
}

inline __attribute__((always_inline)) void repeatPixelsAny(const uint16_t* __restrict in, int32_t n, int32_t times,
                                                           uint32_t* __restrict out) {
    switch (times) {
        case 1: repeatPixels<1>(in, n, out); return;
        case 2: repeatPixels<2>(in, n, out); return;
        case 3: repeatPixels<3>(in, n, out); return;
        case 4: repeatPixels<4>(in, n, out); return;
        default:
            for (int32_t x = 0; x < n; ++x) std::fill_n(out + x * times, times, Rgb565ToXrgb8888(in[x]));
    }
}

// Across one row: each output pixel's channels weighted by (64 - w, w), summed, kept in 16 bits.
inline __attribute__((always_inline)) void filterAcrossPixel(const uint32_t* wide, const int32_t* first,
                                                             const uint8_t* weights, int32_t x, uint16_t* out) {
    const uint32_t p0 = wide[first[x]], p1 = wide[first[x] + 1];
    const uint32_t a = weights[8 * x], b = weights[8 * x + 1];
    for (int32_t c = 0; c < 4; ++c)
        out[c] = static_cast<uint16_t>((p0 >> (8 * c) & 255) * a + (p1 >> (8 * c) & 255) * b);
}

inline __attribute__((always_inline)) void filterAcrossPlain(const uint32_t* wide, const int32_t* first,
                                                             const uint8_t* weights, int32_t from, int32_t n,
                                                             uint16_t* out) {
    for (int32_t x = from; x < n; ++x) filterAcrossPixel(wide, first, weights, x, out + 4 * x);
}

// Down between two filtered rows: h0 + round((h1 - h0) * w / 64), then back to 8 bits. This is
// the rounding of the processor's multiply-high-with-rounding, so both builds agree exactly.
inline __attribute__((always_inline)) void filterDownPlain(const uint16_t* __restrict h0, const uint16_t* __restrict h1,
                                                           int32_t weight, int32_t from, int32_t n,
                                                           uint8_t* __restrict out) {
    const int32_t m = weight << 9;
    for (int32_t i = from; i < n; ++i) {
        const int32_t v = h0[i] + (((static_cast<int32_t>(h1[i]) - h0[i]) * m + 16384) >> 15);
        out[i] = static_cast<uint8_t>((v + 32) >> 6);
    }
}

inline __attribute__((always_inline)) void widenRow(const uint16_t* __restrict in, int32_t n,
                                                    uint32_t* __restrict out) {
    repeatPixels<1>(in, n, out);
    out[n] = out[n - 1];
}

#if defined(__SSE2__)
// SSE2, which every x86-64 processor has: the same integers as the plain loops, four or eight
// output pixels at a time.

// The channels of eight RGB565 pixels in 16-bit lanes, widened to 8 bits as Rgb565ToXrgb8888
// does: a 5-bit channel c becomes c << 3 | c >> 2, which is c * 8.25 rounded down, and a 6-bit
// one c * 4.0625; each is one multiply-high of the channel where it stands in the 16 bits.
inline void channels8Sse2(const uint16_t* in, __m128i& r, __m128i& g, __m128i& b) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    r = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(static_cast<int16_t>(0xF800))), _mm_set1_epi16(264));
    g = _mm_mulhi_epu16(_mm_and_si128(p, _mm_set1_epi16(0x07E0)), _mm_set1_epi16(8320));
    b = _mm_mulhi_epu16(_mm_slli_epi16(p, 11), _mm_set1_epi16(264));
}

// Eight RGB565 pixels widened to XRGB8888 as Rgb565ToXrgb8888 does one.
inline void widen8Sse2(const uint16_t* in, __m128i& low, __m128i& high) {
    __m128i r, g, b;
    channels8Sse2(in, r, g, b);
    const __m128i blueGreen = _mm_or_si128(b, _mm_slli_epi16(g, 8));
    const __m128i redOpaque = _mm_or_si128(r, _mm_set1_epi16(static_cast<int16_t>(0xFF00)));
    low = _mm_unpacklo_epi16(blueGreen, redOpaque);
    high = _mm_unpackhi_epi16(blueGreen, redOpaque);
}

// Four pixels written `Times` times each.
template <int32_t Times>
inline void storeRepeated(__m128i v, uint32_t* out) {
    const auto put = [&](int i, __m128i w) { _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), w); };
    if constexpr (Times == 1) {
        put(0, v);
    } else if constexpr (Times == 2) {
        put(0, _mm_unpacklo_epi32(v, v));
        put(1, _mm_unpackhi_epi32(v, v));
    } else if constexpr (Times == 3) {
        put(0, _mm_shuffle_epi32(v, _MM_SHUFFLE(1, 0, 0, 0)));
        put(1, _mm_shuffle_epi32(v, _MM_SHUFFLE(2, 2, 1, 1)));
        put(2, _mm_shuffle_epi32(v, _MM_SHUFFLE(3, 3, 3, 2)));
    } else {
        static_assert(Times == 4);
        put(0, _mm_shuffle_epi32(v, 0x00));
        put(1, _mm_shuffle_epi32(v, 0x55));
        put(2, _mm_shuffle_epi32(v, 0xAA));
        put(3, _mm_shuffle_epi32(v, 0xFF));
    }
}

template <int32_t Times>
void repeatPixelsSse2(const uint16_t* in, int32_t n, uint32_t* out) {
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        __m128i low, high;
        widen8Sse2(in + x, low, high);
        storeRepeated<Times>(low, out + x * Times);
        storeRepeated<Times>(high, out + (x + 4) * Times);
    }
    repeatPixels<Times>(in + x, n - x, out + x * Times);
}

// One row widened to a pixel's four channels in 16 bits each (blue, green, red, 255), its last
// pixel repeated once: the filter reads a pixel and the one after it in one 16-byte load.
void widenRowWordsSse2(const uint16_t* in, int32_t n, uint16_t* out) {
    const __m128i opaque = _mm_set1_epi16(255);
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        __m128i r, g, b;
        channels8Sse2(in + x, r, g, b);
        const __m128i blueGreen[2] = {_mm_unpacklo_epi16(b, g), _mm_unpackhi_epi16(b, g)};
        const __m128i redOpaque[2] = {_mm_unpacklo_epi16(r, opaque), _mm_unpackhi_epi16(r, opaque)};
        for (int i = 0; i < 2; ++i) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x + 16 * i),
                             _mm_unpacklo_epi32(blueGreen[i], redOpaque[i]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x + 16 * i + 8),
                             _mm_unpackhi_epi32(blueGreen[i], redOpaque[i]));
        }
    }
    for (; x < n; ++x) {
        const uint32_t p = Rgb565ToXrgb8888(in[x]);
        for (int32_t c = 0; c < 4; ++c) out[4 * x + c] = static_cast<uint16_t>(p >> (8 * c) & 255);
    }
    std::memcpy(out + 4 * n, out + 4 * (n - 1), 8);
}

// Across: one load holds an output pixel's two source pixels, one multiply weighs all their
// channels by (64 - w, w), and the two halves of two such products summed are two output pixels.
void filterAcrossSse2(const uint16_t* wide, const uint32_t* firstWord, const uint16_t* weights, int32_t n,
                      uint16_t* out) {
    const auto weighed = [&](int32_t x) {
        return _mm_mullo_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(wide + firstWord[x])),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights + 8 * x)));
    };
    int32_t x = 0;
    for (; x + 2 <= n; x += 2) {
        const __m128i a = weighed(x), b = weighed(x + 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * x),
                         _mm_add_epi16(_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b)));
    }
    for (; x < n; ++x)
        for (int32_t c = 0; c < 4; ++c)
            out[4 * x + c] = static_cast<uint16_t>(wide[firstWord[x] + c] * weights[8 * x] +
                                                   wide[firstWord[x] + 4 + c] * weights[8 * x + 4]);
}

// Down: h0 + round((h1 - h0) * w / 64) without SSSE3's multiply-high-with-rounding. With d
// doubled (it fits in 16 bits) and m = w * 512, the high half of the product is d * w / 64
// rounded down, and the low half's top bit is the bit below that, which rounds half up.
inline __m128i blendDownSse2(__m128i a, __m128i d2, __m128i m) {
    const __m128i roundedDown = _mm_mulhi_epi16(d2, m);
    const __m128i half = _mm_srli_epi16(_mm_mullo_epi16(d2, m), 15);
    const __m128i v = _mm_add_epi16(_mm_add_epi16(a, roundedDown), half);
    return _mm_srli_epi16(_mm_add_epi16(v, _mm_set1_epi16(32)), 6);
}

inline __m128i loadSse2(const uint16_t* h) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(h)); }

// A large picture is streamed past the caches, which it would only flush; a smaller one stays
// there for the display, which reads it next (the X server copies it out of shared memory).
// Streamed rows are aligned; others are stored where they fall, which costs less than working
// up to a boundary one byte at a time.
inline void storeSse2(uint8_t* out, __m128i v, bool stream) {
    if (stream)
        _mm_stream_si128(reinterpret_cast<__m128i*>(out), v);
    else
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), v);
}

inline __m128i narrowSse2(const uint16_t* h) {
    return _mm_srli_epi16(_mm_add_epi16(loadSse2(h), _mm_set1_epi16(32)), 6);
}

void filterDownSse2(const uint16_t* h0, const uint16_t* h1, int32_t weight, int32_t n, uint8_t* out, bool stream) {
    int32_t i = 0;
    if (weight == 0) {
        for (; i + 16 <= n; i += 16)
            storeSse2(out + i, _mm_packus_epi16(narrowSse2(h0 + i), narrowSse2(h0 + i + 8)), stream);
    } else {
        const __m128i m = _mm_set1_epi16(static_cast<int16_t>(weight << 9));
        for (; i + 16 <= n; i += 16) {
            const __m128i a0 = loadSse2(h0 + i), a1 = loadSse2(h0 + i + 8);
            const __m128i d0 = _mm_sub_epi16(loadSse2(h1 + i), a0), d1 = _mm_sub_epi16(loadSse2(h1 + i + 8), a1);
            storeSse2(out + i,
                      _mm_packus_epi16(blendDownSse2(a0, _mm_add_epi16(d0, d0), m),
                                       blendDownSse2(a1, _mm_add_epi16(d1, d1), m)),
                      stream);
        }
    }
    filterDownPlain(h0, h1, weight, i, n, out);
}

// Two output rows that blend the same two filtered rows with different weights: the loads and
// differences are shared.
void filterDownPairSse2(const uint16_t* h0, const uint16_t* h1, int32_t weight0, int32_t weight1, int32_t n,
                        uint8_t* out0, uint8_t* out1, bool stream) {
    const __m128i m0 = _mm_set1_epi16(static_cast<int16_t>(weight0 << 9));
    const __m128i m1 = _mm_set1_epi16(static_cast<int16_t>(weight1 << 9));
    int32_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i a0 = loadSse2(h0 + i), a1 = loadSse2(h0 + i + 8);
        __m128i d0 = _mm_sub_epi16(loadSse2(h1 + i), a0), d1 = _mm_sub_epi16(loadSse2(h1 + i + 8), a1);
        d0 = _mm_add_epi16(d0, d0);
        d1 = _mm_add_epi16(d1, d1);
        storeSse2(out0 + i, _mm_packus_epi16(blendDownSse2(a0, d0, m0), blendDownSse2(a1, d1, m0)), stream);
        storeSse2(out1 + i, _mm_packus_epi16(blendDownSse2(a0, d0, m1), blendDownSse2(a1, d1, m1)), stream);
    }
    filterDownPlain(h0, h1, weight0, i, n, out0);
    filterDownPlain(h0, h1, weight1, i, n, out1);
}
#endif

void repeatPixelsBaseline(const uint16_t* in, int32_t n, int32_t times, uint32_t* out) {
#if defined(__SSE2__)
    switch (times) {
        case 1: repeatPixelsSse2<1>(in, n, out); return;
        case 2: repeatPixelsSse2<2>(in, n, out); return;
        case 3: repeatPixelsSse2<3>(in, n, out); return;
        case 4: repeatPixelsSse2<4>(in, n, out); return;
    }
#endif
    repeatPixelsAny(in, n, times, out);
}
void filterDownBaseline(const uint16_t* h0, const uint16_t* h1, int32_t weight, int32_t n, uint8_t* out,
                        [[maybe_unused]] bool stream) {
#if defined(__SSE2__)
    filterDownSse2(h0, h1, weight, n, out, stream);
#else
    filterDownPlain(h0, h1, weight, 0, n, out);
#endif
}

void filterDownPairBaseline(const uint16_t* h0, const uint16_t* h1, int32_t weight0, int32_t weight1, int32_t n,
                            uint8_t* out0, uint8_t* out1, [[maybe_unused]] bool stream) {
#if defined(__SSE2__)
    filterDownPairSse2(h0, h1, weight0, weight1, n, out0, out1, stream);
#else
    filterDownPlain(h0, h1, weight0, 0, n, out0);
    filterDownPlain(h0, h1, weight1, 0, n, out1);
#endif
}

#ifdef VORLANIX_X86
// Eight RGB565 pixels widened to XRGB8888, as Rgb565ToXrgb8888 does one.
__attribute__((target("avx2"))) inline __m256i widen8(const uint16_t* in) {
    const __m256i p = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)));
    const __m256i r = _mm256_and_si256(_mm256_srli_epi32(p, 11), _mm256_set1_epi32(31));
    const __m256i g = _mm256_and_si256(_mm256_srli_epi32(p, 5), _mm256_set1_epi32(63));
    const __m256i b = _mm256_and_si256(p, _mm256_set1_epi32(31));
    const __m256i r8 = _mm256_or_si256(_mm256_slli_epi32(r, 3), _mm256_srli_epi32(r, 2));
    const __m256i g8 = _mm256_or_si256(_mm256_slli_epi32(g, 2), _mm256_srli_epi32(g, 4));
    const __m256i b8 = _mm256_or_si256(_mm256_slli_epi32(b, 3), _mm256_srli_epi32(b, 2));
    return _mm256_or_si256(_mm256_or_si256(_mm256_set1_epi32(static_cast<int32_t>(0xFF000000u)), b8),
                           _mm256_or_si256(_mm256_slli_epi32(r8, 16), _mm256_slli_epi32(g8, 8)));
}

// Eight source pixels become `times` vectors of eight output pixels, each a permutation of them.
__attribute__((target("avx2"))) void repeatPixelsAvx2(const uint16_t* in, int32_t n, int32_t times, uint32_t* out) {
    // The usual factors: 128-bit shuffles with fixed patterns beat the variable permutation.
    if (times <= 4) {
        repeatPixelsBaseline(in, n, times, out);
        return;
    }
    __m256i spread[16];
    const int32_t vectors = std::min(times, 16);
    for (int32_t j = 0; j < vectors; ++j) {
        alignas(32) int32_t index[8];
        for (int32_t i = 0; i < 8; ++i) index[i] = (8 * j + i) / times;
        spread[j] = _mm256_load_si256(reinterpret_cast<const __m256i*>(index));
    }
    int32_t x = 0;
    if (times <= 16) {
        for (; x + 8 <= n; x += 8) {
            const __m256i v = widen8(in + x);
            for (int32_t j = 0; j < vectors; ++j)
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x * times + 8 * j),
                                    _mm256_permutevar8x32_epi32(v, spread[j]));
        }
    }
    for (; x < n; ++x) std::fill_n(out + x * times, times, Rgb565ToXrgb8888(in[x]));
}

// Sixteen at a time, each channel by one multiply-high as in channels8Sse2.
__attribute__((target("avx2"))) void widenRowAvx2(const uint16_t* in, int32_t n, uint32_t* out) {
    int32_t x = 0;
    for (; x + 16 <= n; x += 16) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + x));
        const __m256i r = _mm256_mulhi_epu16(_mm256_and_si256(p, _mm256_set1_epi16(static_cast<int16_t>(0xF800))),
                                             _mm256_set1_epi16(264));
        const __m256i g = _mm256_mulhi_epu16(_mm256_and_si256(p, _mm256_set1_epi16(0x07E0)), _mm256_set1_epi16(8320));
        const __m256i b = _mm256_mulhi_epu16(_mm256_slli_epi16(p, 11), _mm256_set1_epi16(264));
        const __m256i blueGreen = _mm256_or_si256(b, _mm256_slli_epi16(g, 8));
        const __m256i redOpaque = _mm256_or_si256(r, _mm256_set1_epi16(static_cast<int16_t>(0xFF00)));
        // Pixels 0-3 | 8-11 and 4-7 | 12-15, as the unpacking works within 128-bit halves.
        const __m256i low = _mm256_unpacklo_epi16(blueGreen, redOpaque);
        const __m256i high = _mm256_unpackhi_epi16(blueGreen, redOpaque);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 8), _mm256_permute2x128_si256(low, high, 0x31));
    }
    for (; x + 8 <= n; x += 8) _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), widen8(in + x));
    for (; x < n; ++x) out[x] = Rgb565ToXrgb8888(in[x]);
    out[n] = out[n - 1];
}

// Eight output pixels at a time where their source pixels lie within eight of the row: those
// eight loaded at once, each output pixel's two picked by a permutation, their bytes interleaved
// channel by channel and multiplied with their weights and summed. Elsewhere one by one. As the
// byte unpacking works within 128-bit halves, a block comes out as pixels 0, 1, 4, 5 and 2, 3,
// 6, 7, and is kept in that order: filterDownAvx2 packs it back into order for free.
__attribute__((target("avx2"))) void filterAcrossAvx2(const uint32_t* wide, const int32_t* first,
                                                      const uint8_t* weights, const uint8_t* blockWeights,
                                                      const int32_t* offsets, const uint8_t* blockFits, int32_t n,
                                                      uint16_t* out) {
    const __m256i one = _mm256_set1_epi32(1);
    int32_t x = 0;
    for (; x + 8 <= n; x += 8) {
        if (!blockFits[x / 8]) {
            for (int32_t i = 0; i < 8; ++i)
                filterAcrossPixel(wide, first, weights, x + i, out + 4 * (x + kBlockOrder[i]));
            continue;
        }
        const __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(wide + first[x]));
        const __m256i offset = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(offsets + x));
        const __m256i p0 = _mm256_permutevar8x32_epi32(source, offset);
        const __m256i p1 = _mm256_permutevar8x32_epi32(source, _mm256_add_epi32(offset, one));
        // The block's weights are laid out in the order the pixels come out.
        const __m256i w0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blockWeights + 8 * x));
        const __m256i w1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blockWeights + 8 * x + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x),
                            _mm256_maddubs_epi16(_mm256_unpacklo_epi8(p0, p1), w0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x + 16),
                            _mm256_maddubs_epi16(_mm256_unpackhi_epi8(p0, p1), w1));
    }
    filterAcrossPlain(wide, first, weights, x, n, out);
}

// (v + 32) >> 6 in one instruction: the multiply-high-with-rounding by 512 is (v * 512 + 2^14) >> 15.
__attribute__((target("avx2"))) inline __m256i narrowToByte(__m256i v) {
    return _mm256_mulhrs_epi16(v, _mm256_set1_epi16(512));
}

// Sixteen lanes of filterDownPlain from h0 and h1 - h0, before the packing to bytes.
__attribute__((target("avx2"))) inline __m256i blendWith(__m256i a, __m256i d, __m256i m) {
    return narrowToByte(_mm256_add_epi16(a, _mm256_mulhrs_epi16(d, m)));
}

// Sixteen lanes of filterDownPlain, before the packing to bytes.
__attribute__((target("avx2"))) inline __m256i blendDown(const uint16_t* h0, const uint16_t* h1, __m256i m) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h0));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h1));
    const __m256i v = _mm256_add_epi16(a, _mm256_mulhrs_epi16(_mm256_sub_epi16(b, a), m));
    return narrowToByte(v);
}

__attribute__((target("avx2"))) inline __m256i narrowAvx2(const uint16_t* h) {
    return narrowToByte(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(h)));
}

__attribute__((target("avx2"))) inline void storeAvx2(uint8_t* out, __m256i bytes, bool stream) {
    if (stream) {
        _mm_stream_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_stream_si128(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
    } else
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
}

// The filtered rows hold each block of eight pixels in the order 0, 1, 4, 5, 2, 3, 6, 7 (see
// filterAcrossAvx2), so packing two vectors of them to bytes puts the block in order.
__attribute__((target("avx2"))) void filterDownAvx2(const uint16_t* h0, const uint16_t* h1, int32_t weight, int32_t n,
                                                    uint8_t* out, bool stream) {
    int32_t i = 0;
    if (weight == 0) {
        for (; i + 32 <= n; i += 32)
            storeAvx2(out + i, _mm256_packus_epi16(narrowAvx2(h0 + i), narrowAvx2(h0 + i + 16)), stream);
    } else {
        const __m256i m = _mm256_set1_epi16(static_cast<int16_t>(weight << 9));
        for (; i + 32 <= n; i += 32)
            storeAvx2(out + i,
                      _mm256_packus_epi16(blendDown(h0 + i, h1 + i, m), blendDown(h0 + i + 16, h1 + i + 16, m)),
                      stream);
    }
    filterDownPlain(h0, h1, weight, i, n, out);
}

// Two output rows from the same two filtered rows, as filterDownPairSse2.
__attribute__((target("avx2"))) void filterDownPairAvx2(const uint16_t* h0, const uint16_t* h1, int32_t weight0,
                                                        int32_t weight1, int32_t n, uint8_t* out0, uint8_t* out1,
                                                        bool stream) {
    const __m256i m0 = _mm256_set1_epi16(static_cast<int16_t>(weight0 << 9));
    const __m256i m1 = _mm256_set1_epi16(static_cast<int16_t>(weight1 << 9));
    int32_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h0 + i));
        const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h0 + i + 16));
        const __m256i d0 = _mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(h1 + i)), a0);
        const __m256i d1 = _mm256_sub_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(h1 + i + 16)), a1);
        storeAvx2(out0 + i, _mm256_packus_epi16(blendWith(a0, d0, m0), blendWith(a1, d1, m0)), stream);
        storeAvx2(out1 + i, _mm256_packus_epi16(blendWith(a0, d0, m1), blendWith(a1, d1, m1)), stream);
    }
    filterDownPlain(h0, h1, weight0, i, n, out0);
    filterDownPlain(h0, h1, weight1, i, n, out1);
}

bool avx2Available() { return __builtin_cpu_supports("avx2"); }
#else
void repeatPixelsAvx2(const uint16_t* in, int32_t n, int32_t times, uint32_t* out) {
    repeatPixelsBaseline(in, n, times, out);
}
void widenRowAvx2(const uint16_t* in, int32_t n, uint32_t* out) { widenRow(in, n, out); }
void filterAcrossAvx2(const uint32_t* wide, const int32_t* first, const uint8_t* weights, const uint8_t*,
                      const int32_t*, const uint8_t*, int32_t n, uint16_t* out) {
    filterAcrossPlain(wide, first, weights, 0, n, out);
}
void filterDownAvx2(const uint16_t* h0, const uint16_t* h1, int32_t weight, int32_t n, uint8_t* out, bool stream) {
    filterDownBaseline(h0, h1, weight, n, out, stream);
}
void filterDownPairAvx2(const uint16_t* h0, const uint16_t* h1, int32_t weight0, int32_t weight1, int32_t n,
                        uint8_t* out0, uint8_t* out1, bool stream) {
    filterDownPairBaseline(h0, h1, weight0, weight1, n, out0, out1, stream);
}
bool avx2Available() { return false; }
#endif

// One tap of the linear filter over a source `factor` times enlarged: the output pixel's centre
// mapped into the enlarged source, rounded to 64ths, clamped at the edges; a blend of two
// enlarged pixels that are copies of one source pixel is that pixel.
ScaleTap linearTap(int64_t x, int64_t srcLen, int64_t dstLen, int64_t factor) {
    const int64_t enlarged = srcLen * factor;
    const int64_t num = (2 * x + 1) * enlarged - dstLen, den = 2 * dstLen;
    if (num <= 0) return {0, 0};
    int64_t e = num / den;
    int64_t w = (num % den * 2 * kScaleWeightOne + den) / (2 * den);
    if (w == kScaleWeightOne) ++e, w = 0;
    if (e >= enlarged - 1) return {static_cast<int32_t>(srcLen - 1), 0};
    if ((e + 1) % factor != 0) w = 0;
    return {static_cast<int32_t>(e / factor), static_cast<int32_t>(w)};
}

}  // namespace

bool Avx2ScalerAvailable() {
    static const bool available = avx2Available();
    return available;
}

std::vector<ScaleTap> ScaleTaps(Scaling scaling, int32_t srcLen, int32_t dstLen, int32_t sharpFactor) {
    std::vector<ScaleTap> taps(static_cast<size_t>(dstLen));
    for (int32_t x = 0; x < dstLen; ++x) {
        if (scaling == Scaling::Integer) {
            const int64_t nearest = (2 * int64_t{x} + 1) * srcLen / (2 * int64_t{dstLen});
            taps[x] = {static_cast<int32_t>(std::min<int64_t>(nearest, srcLen - 1)), 0};
        } else {
            taps[x] = linearTap(x, srcLen, dstLen, scaling == Scaling::Sharp ? std::max(1, sharpFactor) : 1);
        }
    }
    return taps;
}

PictureScaler::PictureScaler(Scaling scaling, int32_t srcWidth, int32_t srcHeight, int32_t width, int32_t height)
    : srcWidth_(srcWidth), srcHeight_(srcHeight), width_(width), height_(height) {
    if (srcWidth < 1 || srcHeight < 1 || width < 1 || height < 1) throw std::invalid_argument("an empty picture");
    const int32_t whole = width / srcWidth;
    if (scaling != Scaling::Smooth && whole >= 1 && width == whole * srcWidth && height == whole * srcHeight) {
        factor_ = whole;
        return;
    }
    const int32_t sharpFactor = std::max(1, static_cast<int32_t>(std::lround(static_cast<double>(width) / srcWidth)));
    const std::vector<ScaleTap> columns = ScaleTaps(scaling, srcWidth, width, sharpFactor);
    columnFirst_.resize(columns.size());
    columnWeights_.resize(columns.size() * 8);
    columnWeightWords_.resize(columns.size() * 8);
    columnFirstWord_.resize(columns.size());
    for (size_t x = 0; x < columns.size(); ++x) {
        columnFirst_[x] = columns[x].first;
        columnFirstWord_[x] = static_cast<uint32_t>(columns[x].first) * 4;
        for (size_t i = 0; i < 4; ++i) {
            columnWeights_[8 * x + 2 * i] = static_cast<uint8_t>(kScaleWeightOne - columns[x].weight);
            columnWeights_[8 * x + 2 * i + 1] = static_cast<uint8_t>(columns[x].weight);
            columnWeightWords_[8 * x + i] = static_cast<uint16_t>(kScaleWeightOne - columns[x].weight);
            columnWeightWords_[8 * x + 4 + i] = static_cast<uint16_t>(columns[x].weight);
        }
    }
    // Blocks of eight output pixels whose source pixels (both of each) lie within eight of the row.
    columnOffsets_.resize(columns.size());
    blockFits_.resize(columns.size() / 8);
    blockWeights_.resize(blockFits_.size() * 64);
    for (size_t b = 0; b < blockFits_.size(); ++b) {
        bool fits = true;
        for (size_t x = 8 * b; x < 8 * b + 8; ++x) {
            columnOffsets_[x] = columns[x].first - columns[8 * b].first;
            fits = fits && columnOffsets_[x] + 1 < 8;
        }
        blockFits_[b] = fits;
        // The block's weights in the order the AVX2 loop keeps its pixels.
        for (size_t i = 0; i < 8; ++i)
            std::memcpy(&blockWeights_[64 * b + 8 * i], &columnWeights_[8 * (8 * b + kBlockOrder[i])], 8);
    }
    rowTaps_ = ScaleTaps(scaling, srcHeight, height, sharpFactor);
    // Eight pixels are read from any source pixel on: the row is padded with its last pixel.
    widened_.resize(static_cast<size_t>(srcWidth) + 8);
    widenedWords_.resize((static_cast<size_t>(srcWidth) + 1) * 4);
    for (auto& row : filtered_) row.resize(static_cast<size_t>(width) * 4);
}

const uint16_t* PictureScaler::filteredRow(const Surface& src, int32_t y, bool avx2) {
    for (int i = 0; i < 2; ++i)
        if (filteredRowOf_[i] == y) return filtered_[i].data();
    // Rows are asked for from the top down, so the lower-numbered one is done with.
    const int slot = filteredRowOf_[0] <= filteredRowOf_[1] ? 0 : 1;
    uint16_t* out = filtered_[slot].data();
    if (avx2) {
        widenRowAvx2(src.row(y), srcWidth_, widened_.data());
        filterAcrossAvx2(widened_.data(), columnFirst_.data(), columnWeights_.data(), blockWeights_.data(),
                         columnOffsets_.data(), blockFits_.data(), width_, out);
    } else {
#if defined(__SSE2__)
        widenRowWordsSse2(src.row(y), srcWidth_, widenedWords_.data());
        filterAcrossSse2(widenedWords_.data(), columnFirstWord_.data(), columnWeightWords_.data(), width_, out);
#else
        widenRow(src.row(y), srcWidth_, widened_.data());
        filterAcrossPlain(widened_.data(), columnFirst_.data(), columnWeights_.data(), 0, width_, out);
#endif
    }
    filteredRowOf_[slot] = y;
    return filtered_[slot].data();
}

void PictureScaler::Draw(const Surface& src, uint8_t* dst, size_t pitch, ScalerBuild build) {
    if (src.width() != srcWidth_ || src.height() != srcHeight_)
        throw std::invalid_argument("the picture has another size than the scaler was made for");
    if (build == ScalerBuild::Avx2 && !Avx2ScalerAvailable()) throw std::logic_error("this processor has no AVX2");
    const bool avx2 = build == ScalerBuild::Avx2 || (build == ScalerBuild::Best && Avx2ScalerAvailable());
    const size_t rowBytes = static_cast<size_t>(width_) * 4;
    if (factor_ > 0) {
        for (int32_t y = 0; y < srcHeight_; ++y) {
            uint8_t* first = dst + static_cast<size_t>(y) * factor_ * pitch;
            (avx2 ? repeatPixelsAvx2 : repeatPixelsBaseline)(src.row(y), srcWidth_, factor_,
                                                             reinterpret_cast<uint32_t*>(first));
            for (int32_t i = 1; i < factor_; ++i) std::memcpy(first + i * pitch, first, rowBytes);
        }
        return;
    }
    filteredRowOf_[0] = filteredRowOf_[1] = -1;
    // Streamed stores go to whole aligned 16-byte vectors.
    const bool stream =
        rowBytes * height_ > kStreamedPictureBytes && reinterpret_cast<uintptr_t>(dst) % 16 == 0 && pitch % 16 == 0;
    for (int32_t y = 0; y < height_;) {
        const ScaleTap t = rowTaps_[y];
        uint8_t* out = dst + static_cast<size_t>(y) * pitch;
        if (y > 0 && t.first == rowTaps_[y - 1].first && t.weight == rowTaps_[y - 1].weight) {
            std::memcpy(out, out - pitch, rowBytes);
            ++y;
            continue;
        }
        const uint16_t* h0 = filteredRow(src, t.first, avx2);
        // The next row blends the same two source rows with another weight: both at once (a row
        // with weight zero is only narrowed, which costs less alone).
        const ScaleTap next = y + 1 < height_ ? rowTaps_[y + 1] : ScaleTap{};
        if (t.weight > 0 && next.weight > 0 && next.first == t.first && next.weight != t.weight) {
            const uint16_t* h1 = filteredRow(src, t.first + 1, avx2);
            (avx2 ? filterDownPairAvx2 : filterDownPairBaseline)(h0, h1, t.weight, next.weight, width_ * 4, out,
                                                                 out + pitch, stream);
            y += 2;
            continue;
        }
        const uint16_t* h1 = t.weight > 0 ? filteredRow(src, t.first + 1, avx2) : h0;
        (avx2 ? filterDownAvx2 : filterDownBaseline)(h0, h1, t.weight, width_ * 4, out, stream);
        ++y;
    }
#if defined(__SSE2__)
    // Streamed stores are ordered with no others until a fence: the picture is whole before it is shown.
    if (stream) _mm_sfence();
#endif
}

}  // namespace platform
