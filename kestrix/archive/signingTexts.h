#pragma once

// The sentences a signature and its outcome are told in, the same on the terminal and in the
// window.

#include "kestrix/archive/signing.h"

#include <string>

namespace kestrix::archive {

// "approved by Jane Doe (jdoe) at TIME, event 12: comment"
std::string SignatureLine(const ArchiveEvent& event);

// "signed: " and the signature's line; or why nothing was signed: the wrong password with the
// tries used so far, or the lock with its end.
std::string OutcomeText(const SignOutcome& outcome);

} // namespace kestrix::archive
