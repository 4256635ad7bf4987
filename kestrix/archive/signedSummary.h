#pragma once

// What a signature is about to cover, shown before the password is asked: for a download its
// instrument, serial number, records and their time span; for a file its name; for both the
// SHA-256 the signature will carry.

#include "kestrix/archive/signedContent.h"

#include <string>
#include <vector>

namespace kestrix::archive {

class ArchiveDatabase;

struct SignedFact {
    std::string label; // "Instrument"
    std::string value;
    bool operator==(const SignedFact&) const = default;
};

// Throws ArchiveError when the download cannot be read.
std::vector<SignedFact> DescribeSignedContent(ArchiveDatabase& database,
                                              const SignedContent& content);

} // namespace kestrix::archive
