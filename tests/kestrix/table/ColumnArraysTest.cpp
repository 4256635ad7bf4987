// The per-row stores of a grid column that keep only runs (formats) or only the rows that have
// a value (notes, spans): after any mix of writes, insertions, removals and resizing they read
// back as a plain array would.

#include "kestrix/table/RunColumnArray.h"
#include "kestrix/table/SparseColumnArray.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace kestrix::table {
namespace {

template <typename Store>
class ColumnArraysTest : public ::testing::Test {};

using Stores = ::testing::Types<RunColumnArray<std::uint16_t>, SparseColumnArray<std::uint16_t>>;
TYPED_TEST_SUITE(ColumnArraysTest, Stores);

TYPED_TEST(ColumnArraysTest, ReadBackAsAPlainArray) {
    std::mt19937 random(2024);
    const auto below = [&random](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    TypeParam store;
    std::vector<std::uint16_t> plain;
    for (int step = 0; step < 4000; ++step) {
        const std::size_t choice = below(10);
        if (choice < 5 && !plain.empty()) {
            // Few values, often repeated, so that runs form, grow and split.
            const auto value = static_cast<std::uint16_t>(below(3));
            const std::size_t row = choice < 3 ? plain.size() - 1 - below(std::min<std::size_t>(
                                                                      plain.size(), 3))
                                               : below(plain.size());
            store.Set(row, value);
            plain[row] = value;
        } else if (choice < 7) {
            const std::size_t row = below(plain.size() + 1);
            const std::size_t count = below(4);
            store.InsertAt(row, count);
            plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(row), count, 0);
        } else if (choice < 9 && !plain.empty()) {
            const std::size_t row = below(plain.size());
            const std::size_t count = below(plain.size() - row) + 1;
            store.EraseAt(row, count);
            plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(row),
                        plain.begin() + static_cast<std::ptrdiff_t>(row + count));
        } else {
            const std::size_t size = below(60);
            store.Resize(size);
            plain.resize(size, 0);
        }
        for (std::size_t row = 0; row < plain.size(); ++row) {
            ASSERT_EQ(store.Get(row), plain[row]) << "step " << step << " row " << row;
        }
    }
}

} // namespace
} // namespace kestrix::table
