#pragma once

// kestrix-cli archive list and archive events: what the archive holds, as text lines or JSON.

#include <iosfwd>

namespace kestrix::archive {
class Archive;
}

namespace kestrix::cli {

void PrintInstruments(archive::Archive& archive, bool json, std::ostream& out);
void PrintEvents(archive::Archive& archive, bool json, std::ostream& out);

} // namespace kestrix::cli
