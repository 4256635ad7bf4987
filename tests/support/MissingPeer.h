#pragma once

// Tests that talk to a program or library from outside the project (openpyxl, pdftotext,
// pymodbus, socat) skip when it is missing, so that the rest still runs on a bare machine.
// scripts/test installs every one of them first and sets KESTRIX_REQUIRE_PEERS=1: there a
// missing peer fails the test, so a run can never pass with a peer silently gone.

#include <cstdlib>
#include <gtest/gtest.h>
#include <string_view>

namespace test_support {

inline constexpr const char* kRequirePeersVariable = "KESTRIX_REQUIRE_PEERS";

inline bool PeersRequired() {
    const char* value = std::getenv(kRequirePeersVariable);
    return value != nullptr && std::string_view(value) == "1";
}

} // namespace test_support

// Ends the test, or its SetUp, because `what` is missing: skipped, or failed where peers are
// required.
#define SKIP_OR_FAIL_WITHOUT_PEER(what)                                                            \
    do {                                                                                           \
        if (::test_support::PeersRequired()) {                                                     \
            GTEST_FAIL() << (what) << " (" << ::test_support::kRequirePeersVariable                \
                         << "=1: scripts/bootstrap installs every peer)";                          \
        }                                                                                          \
        GTEST_SKIP() << (what);                                                                    \
    } while (false)
