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
        __m128i* out = reinterpret_cast<__m128i*>(rgb + 3 * i);
        _mm_storeu_si128(out, _mm_shuffle_epi8(g, mask0));
        _mm_storeu_si128(out + 1, _mm_shuffle_epi8(g, mask1));
        _mm_storeu_si128(out + 2, _mm_shuffle_epi8(g, mask2));
    }
    expandScalar(rgb + 3 * i, grey + i, pixels - i);
}

// 48 bytes (16 pixels) a step: three loads, each output register built from
// the input register it overlaps and its neighbour.
__attribute__((target("ssse3"))) void swapSsse3(unsigned char* out, const unsigned char* in, std::size_t pixels) {
    // Register 0 holds bytes 0..15: pixels 0-4 and the first byte of pixel 5.
    const __m128i a0 = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, -128);
    const __m128i b0 = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                     -128, -128, 1);  // byte 15 (R of pixel 5) is B from byte 17
    // Register 1 holds bytes 16..31.
    const __m128i a1 = _mm_setr_epi8(0, -128, 4, 3, 2, 7, 6, 5, 10, 9, 8, 13, 12, 11, -128, 15);
    const __m128i p1 = _mm_setr_epi8(-128, 15, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                     -128, -128, -128);  // byte 17 (B of pixel 5) is R from byte 15
    const __m128i n1 = _mm_setr_epi8(-128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                     -128, 0, -128);  // byte 30 (R of pixel 10) is B from byte 32
    // Register 2 holds bytes 32..47.
    const __m128i a2 = _mm_setr_epi8(-128, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13);
    const __m128i p2 = _mm_setr_epi8(14, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128, -128,
                                     -128, -128, -128);  // byte 32 (B of pixel 10) is R from byte 30
    std::size_t i = 0;
    const std::size_t pixelsPerStep = 16;
    for (; i + pixelsPerStep <= pixels; i += pixelsPerStep) {
        const __m128i* src = reinterpret_cast<const __m128i*>(in + 3 * i);
        const __m128i r0 = _mm_loadu_si128(src);
        const __m128i r1 = _mm_loadu_si128(src + 1);
        const __m128i r2 = _mm_loadu_si128(src + 2);
        __m128i* dst = reinterpret_cast<__m128i*>(out + 3 * i);
        _mm_storeu_si128(dst, _mm_or_si128(_mm_shuffle_epi8(r0, a0), _mm_shuffle_epi8(r1, b0)));
        _mm_storeu_si128(dst + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(r1, a1), _mm_shuffle_epi8(r0, p1)),
                                               _mm_shuffle_epi8(r2, n1)));
        _mm_storeu_si128(dst + 2, _mm_or_si128(_mm_shuffle_epi8(r2, a2), _mm_shuffle_epi8(r1, p2)));
    }
    swapScalar(out + 3 * i, in + 3 * i, pixels - i);
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
    if (haveSsse3()) return swapSsse3(out, in, pixels);
#endif
    swapScalar(out, in, pixels);
}

unsigned char* allocateFrame(std::size_t bytes) {
    unsigned char* block = new unsigned char[bytes];
#ifdef MADV_HUGEPAGE
    const std::size_t huge = std::size_t(2) << 20;
    if (bytes >= 2 * huge) {
        const auto start = reinterpret_cast<std::uintptr_t>(block);
        const std::uintptr_t first = (start + huge - 1) & ~(huge - 1);
        const std::uintptr_t last = (start + bytes) & ~(huge - 1);
        if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    return block;
}

}  // namespace Nimbrel_model
