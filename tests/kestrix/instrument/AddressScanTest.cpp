#include "kestrix/instrument/AddressScan.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace kestrix {
namespace {

using Probe = instrument::AddressScan::Probe;

constexpr int kQuick = 100;
constexpr int kFull = 1000;

// Every probe of a scan where nothing answers; mismatchAt marks the probes whose reply did not
// match (counted from 0).
std::vector<Probe> SilentScan(int lastFound, int quick, std::vector<int> mismatchAt = {}) {
    instrument::AddressScan scan(lastFound, quick, kFull);
    std::vector<Probe> probes{scan.Current()};
    for (int index = 0;; ++index) {
        const bool mismatched =
            std::find(mismatchAt.begin(), mismatchAt.end(), index) != mismatchAt.end();
        const auto next = scan.Next(mismatched);
        if (!next) {
            return probes;
        }
        probes.push_back(*next);
    }
}

std::vector<Probe> Pass(int timeout, int skip = 0) {
    std::vector<Probe> probes;
    for (int address = 1; address <= 99; ++address) {
        if (address != skip) {
            probes.push_back({address, timeout});
        }
    }
    return probes;
}

TEST(AddressScan, QuickPassFromTheLastFoundAddressThenTheFullPass) {
    std::vector<Probe> expected{{50, kQuick}};
    for (const auto& probe : Pass(kQuick, 50)) {
        expected.push_back(probe);
    }
    for (const auto& probe : Pass(kFull)) {
        expected.push_back(probe);
    }
    EXPECT_EQ(SilentScan(50, kQuick), expected);

    // Nothing known: the quick pass from 1; a quick timeout no shorter than the full one makes
    // the scan today's single pass.
    EXPECT_EQ(SilentScan(0, kQuick).front(), (Probe{1, kQuick}));
    EXPECT_EQ(SilentScan(0, kQuick).size(), 198U);
    EXPECT_EQ(SilentScan(0, kFull), Pass(kFull));
}

TEST(AddressScan, AMismatchedReplyAsksTheTwoProbesBeforeAgainWithTheFullTimeout) {
    // Probes 0..4 are addresses 1..5; the one of address 5 is answered by a late reply.
    const auto probes = SilentScan(0, kQuick, {4});
    const std::vector<Probe> expected{{1, kQuick}, {2, kQuick}, {3, kQuick},
                                      {4, kQuick}, {5, kQuick}, {3, kFull},
                                      {4, kFull},  {5, kQuick}, {6, kQuick}};
    EXPECT_EQ(std::vector<Probe>(probes.begin(), probes.begin() + 9), expected);
    EXPECT_EQ(probes.size(), 198U + 3U);

    // At the very first probe there is nothing before it to ask; a probe that mismatches again
    // is not asked a third time.
    EXPECT_EQ(SilentScan(0, kQuick, {0})[1], (Probe{2, kQuick}));
    EXPECT_EQ(SilentScan(0, kQuick, {4, 7}).size(), 198U + 3U);
}

} // namespace
} // namespace kestrix
