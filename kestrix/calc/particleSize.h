#pragma once

// The numeric value of a particle size tag, in micrometres.

#include <string_view>

namespace kestrix {

// Blanks are skipped and the number ends at a second decimal point; a text
// without digits gives 0, a number beyond the double range gives infinity.
double ParticleSizeValue(std::string_view sizeTag);

} // namespace kestrix
