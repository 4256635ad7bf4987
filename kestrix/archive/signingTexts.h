#pragma once

// The sentences a signature and its outcome are told in, the same on the terminal and in the
// window.

#include "kestrix/archive/signing.h"

#include <string>

namespace kestrix::archive {

// A text field of the event's details; empty when it has none.
std::string SignatureDetail(const ArchiveEvent& event, const char* key);

// "approved by Jane Doe (jdoe) at TIME, event 12: comment"
std::string SignatureLine(const ArchiveEvent& event);

// "signed: " and the signature's line; or why nothing was signed: the wrong password with the
// tries used so far, or the lock with its end.
std::string OutcomeText(const SignOutcome& outcome);

} // namespace kestrix::archive
