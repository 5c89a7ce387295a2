#include "drawing/BuiltInPicture.h"

#include <gtest/gtest.h>

#include <bit>

namespace lcd::testing {
namespace {

// The table's exact dots are the generator's business (a separate check runs the generator and compares);
// here it must at least be a dithered grey picture on every page, not a blank, solid or truncated one.
TEST(BuiltInPictureTest, EveryPageMixesLitAndUnlitDotsInAGreyShare) {
    int litTotal = 0;
    for (int page = 0; page < DisplayPages; ++page) {
        int lit = 0;
        for (int column = 0; column < DisplayColumns; ++column) {
            lit += std::popcount(BuiltInPicture[page * DisplayColumns + column]);
        }
        EXPECT_GT(lit, DisplayColumns * 8 / 10) << "page " << page << " is nearly blank";
        EXPECT_LT(lit, DisplayColumns * 8 * 9 / 10) << "page " << page << " is nearly solid";
        litTotal += lit;
    }
    const int dots = DisplayColumns * DisplayRows;
    EXPECT_GT(litTotal, dots / 4);
    EXPECT_LT(litTotal, dots * 3 / 4);
}

}  // namespace
}  // namespace lcd::testing
