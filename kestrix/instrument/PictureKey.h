#pragma once

#include <string>

namespace kestrix::instrument {

// The key of the instrument picture for a model name; "unknown" has no picture.
std::string PictureKey(const std::string& modelName);

} // namespace kestrix::instrument
