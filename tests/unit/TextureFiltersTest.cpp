// The texture filter table: mip-mapping mode and nearest flag to GL filters.
#include "render/TextureFilters.h"

#include <gtest/gtest.h>

#include <ostream>

namespace velorun {
namespace {

// GL enum values, written out so the table is checked against the numbers.
constexpr GLint nearest = 0x2600;
constexpr GLint linear = 0x2601;
constexpr GLint nearestMipmapNearest = 0x2700;
constexpr GLint linearMipmapNearest = 0x2701;
constexpr GLint nearestMipmapLinear = 0x2702;
constexpr GLint linearMipmapLinear = 0x2703;

struct FilterRow {
    int mode;
    bool nearestFilter;
    GLint min;
    GLint mag;
};

std::ostream& operator<<(std::ostream& os, const FilterRow& r)
{
    return os << "mode " << r.mode << ", nearest " << r.nearestFilter;
}

class FilterTable : public ::testing::TestWithParam<FilterRow> {};

TEST_P(FilterTable, Row)
{
    const FilterRow row = GetParam();
    const TextureFilters f = textureFilters(row.mode, row.nearestFilter);
    EXPECT_TRUE(f.set);
    EXPECT_EQ(f.minFilter, row.min);
    EXPECT_EQ(f.magFilter, row.mag);
}

INSTANTIATE_TEST_SUITE_P(TextureFilters, FilterTable,
                         ::testing::Values(FilterRow{0, true, nearest, nearest},
                                           FilterRow{1, true, nearestMipmapNearest, nearest},
                                           FilterRow{2, true, nearestMipmapLinear, nearest},
                                           FilterRow{0, false, linear, linear},
                                           FilterRow{1, false, linearMipmapNearest, linear},
                                           FilterRow{2, false, linearMipmapLinear, linear}));

class UnknownMode : public ::testing::TestWithParam<int> {};

TEST_P(UnknownMode, SetsNoFilterWhateverTheFlag)
{
    EXPECT_FALSE(textureFilters(GetParam(), true).set);
    EXPECT_FALSE(textureFilters(GetParam(), false).set);
}

INSTANTIATE_TEST_SUITE_P(TextureFilters, UnknownMode, ::testing::Values(7, 3, -1, 100));

} // namespace
} // namespace velorun
