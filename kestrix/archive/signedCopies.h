#pragma once

// A signed copy: a report written again after it was signed, with its signatures printed on it.
// The copy's SHA-256 is noted with the signatures it shows, so that the copy is known as signed
// too, while each signature stays bound to the bytes its signer saw.

#include "kestrix/archive/archiveEvents.h"
#include "kestrix/archive/auditChain.h"
#include "kestrix/archive/signedContent.h"

#include <string>
#include <vector>

namespace kestrix::archive {

class Archive;

// The signatures over the file with this SHA-256, oldest first: those over its own bytes, and
// those that a signed copy with these bytes shows.
std::vector<ArchiveEvent> SignaturesOver(const std::vector<EventEntry>& events,
                                         const std::string& sha256);

// Notes `copy` as the signed copy that shows `signatures`.
ArchiveEvent NoteSignedCopy(Archive& archive, const SignedContent& copy,
                            const std::vector<ArchiveEvent>& signatures);

} // namespace kestrix::archive
