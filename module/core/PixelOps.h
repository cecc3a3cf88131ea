// The two per-pixel passes of the module, written to run near memory speed.
#pragma once

#include <cstddef>
#include <memory>

namespace Nimbrel_model {

// `pixels` grey bytes become `pixels` RGB triples of equal bytes.
void expandGreyToRgb(unsigned char* rgb, const unsigned char* grey, std::size_t pixels);
// Copies `pixels` triples, exchanging the first and third byte of each.
void copySwapRedBlue(unsigned char* out, const unsigned char* in, std::size_t pixels);

// A new[] byte array for a whole frame; large ones are backed by huge pages
// where the system allows it, which saves most of the cost of first touching
// fresh memory. Release with delete[].
unsigned char* allocateFrame(std::size_t bytes);

}  // namespace Nimbrel_model
