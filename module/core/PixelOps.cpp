#include "core/PixelOps.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define NIMBREL_HAVE_X86 1
#endif

namespace Nimbrel_model {

namespace {

void expandScalar(unsigned char* rgb, const unsigned char* grey, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char g = grey[i];
        rgb[3 * i] = g;
        rgb[3 * i + 1] = g;
        rgb[3 * i + 2] = g;
    }
}

void swapScalar(unsigned char* out, const unsigned char* in, std::size_t pixels) {
    for (std::size_t i = 0; i < 3 * pixels; i += 3) {
        const unsigned char first = in[i];
        out[i] = in[i + 2];
        out[i + 1] = in[i + 1];
        out[i + 2] = first;
    }
}

#ifdef NIMBREL_HAVE_X86

// 16 grey bytes give 48 RGB bytes: three shuffles of the same register.
__attribute__((target("ssse3"))) void expandSsse3(unsigned char* rgb, const unsigned char* grey, std::size_t pixels) {
    const __m128i mask0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i mask1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i mask2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    std::size_t i = 0;
    for (; i + 16 <= pixels; i += 16) {
        const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(grey + i));
        auto* out = reinterpret_cast<__m128i*>(rgb + 3 * i);
        _mm_storeu_si128(out, _mm_shuffle_epi8(g, mask0));
        _mm_storeu_si128(out + 1, _mm_shuffle_epi8(g, mask1));
        _mm_storeu_si128(out + 2, _mm_shuffle_epi8(g, mask2));
    }
    expandScalar(rgb + 3 * i, grey + i, pixels - i);
}

// 48 bytes (16 pixels) a step: three loads; each output register is its own
// input register shuffled, plus the bytes of pixels that straddle two
// registers, which come from one extra shuffle of the middle register and one
// of the outer two.
struct SwapMasks {
    __m128i own0, own1, own2, fromMiddle, lastByte, firstByte, fromOuter;
};

__attribute__((target("ssse3"))) SwapMasks swapMasks() {
    const char z = -128;  // pshufb writes 0 for a negative index
    SwapMasks m;
    // Register 0 holds bytes 0..15: pixels 0-4 and the first byte of pixel 5.
    m.own0 = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, z);
    // Register 1 holds bytes 16..31: the rest of pixel 5, pixels 6-9, the first two bytes of pixel 10.
    m.own1 = _mm_setr_epi8(0, z, 4, 3, 2, 7, 6, 5, 10, 9, 8, 13, 12, 11, z, 15);
    // Register 2 holds bytes 32..47: the last byte of pixel 10, pixels 11-15.
    m.own2 = _mm_setr_epi8(z, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13);
    // From register 1: byte 17 to position 15 of output 0, byte 30 to position 0 of output 2.
    m.fromMiddle = _mm_setr_epi8(14, z, z, z, z, z, z, z, z, z, z, z, z, z, z, 1);
    m.lastByte = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1);
    m.firstByte = _mm_setr_epi8(-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    // For output 1: byte 15 (register 0) to position 1 and byte 32 (register 2) to
    // position 14, once alignr has put them side by side at positions 0 and 1.
    m.fromOuter = _mm_setr_epi8(z, 0, z, z, z, z, z, z, z, z, z, z, z, z, 1, z);
    return m;
}

struct Swapped {
    __m128i o0, o1, o2;
};

__attribute__((target("ssse3"), always_inline)) inline Swapped swap48(const unsigned char* in, const SwapMasks& m) {
    const auto* src = reinterpret_cast<const __m128i*>(in);
    const __m128i r0 = _mm_loadu_si128(src);
    const __m128i r1 = _mm_loadu_si128(src + 1);
    const __m128i r2 = _mm_loadu_si128(src + 2);
    const __m128i middle = _mm_shuffle_epi8(r1, m.fromMiddle);
    const __m128i outer = _mm_shuffle_epi8(_mm_alignr_epi8(r2, r0, 15), m.fromOuter);
    return {_mm_or_si128(_mm_shuffle_epi8(r0, m.own0), _mm_and_si128(middle, m.lastByte)),
            _mm_or_si128(_mm_shuffle_epi8(r1, m.own1), outer),
            _mm_or_si128(_mm_shuffle_epi8(r2, m.own2), _mm_and_si128(middle, m.firstByte))};
}

__attribute__((target("ssse3"))) void swapSsse3(unsigned char* out, const unsigned char* in, std::size_t pixels) {
    const SwapMasks m = swapMasks();
    std::size_t i = 0;
    for (; i + 16 <= pixels; i += 16) {
        const Swapped v = swap48(in + 3 * i, m);
        auto* dst = reinterpret_cast<__m128i*>(out + 3 * i);
        _mm_storeu_si128(dst, v.o0);
        _mm_storeu_si128(dst + 1, v.o1);
        _mm_storeu_si128(dst + 2, v.o2);
    }
    swapScalar(out + 3 * i, in + 3 * i, pixels - i);
}

// The same work, written out 32 bytes at a time: stores are what limit it.
__attribute__((target("avx2"))) void swapAvx2(unsigned char* out, const unsigned char* in, std::size_t pixels) {
    const SwapMasks m = swapMasks();
    std::size_t i = 0;
    for (; i + 64 <= pixels; i += 64) {
        for (std::size_t half = 0; half < 2; ++half) {
            const unsigned char* src = in + 3 * i + 96 * half;
            const Swapped a = swap48(src, m);
            const Swapped b = swap48(src + 48, m);
            auto* dst = reinterpret_cast<__m256i*>(out + 3 * i + 96 * half);
            _mm256_storeu_si256(dst, _mm256_set_m128i(a.o1, a.o0));
            _mm256_storeu_si256(dst + 1, _mm256_set_m128i(b.o0, a.o2));
            _mm256_storeu_si256(dst + 2, _mm256_set_m128i(b.o2, b.o1));
        }
    }
    // Dirty upper halves would slow the SSE code that runs next.
    _mm256_zeroupper();
    swapSsse3(out + 3 * i, in + 3 * i, pixels - i);
}

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}

bool haveSsse3() {
    static const bool have = __builtin_cpu_supports("ssse3");
    return have;
}

#endif

}  // namespace

void expandGreyToRgb(unsigned char* rgb, const unsigned char* grey, std::size_t pixels) {
#ifdef NIMBREL_HAVE_X86
    if (haveSsse3()) return expandSsse3(rgb, grey, pixels);
#endif
    expandScalar(rgb, grey, pixels);
}

void copySwapRedBlue(unsigned char* out, const unsigned char* in, std::size_t pixels) {
#ifdef NIMBREL_HAVE_X86
    if (haveAvx2()) return swapAvx2(out, in, pixels);
    if (haveSsse3()) return swapSsse3(out, in, pixels);
#endif
    swapScalar(out, in, pixels);
}

unsigned char* allocateFrame(std::size_t bytes) {
    auto* block = new unsigned char[bytes];
#ifdef MADV_HUGEPAGE
    const std::size_t huge = std::size_t(2) << 20;
    if (bytes >= 2 * huge) {
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (start + huge - 1) & ~(huge - 1);
        const std::uintptr_t last = (start + bytes) & ~(huge - 1);
        if (last > first) madvise(block + (first - start), last - first, MADV_HUGEPAGE);
    }
#endif
    return block;
}

}  // namespace Nimbrel_model
