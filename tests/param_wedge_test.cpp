#include "scene/param_setting.h"

#include <gtest/gtest.h>

namespace plurion::host {
namespace {

TEST(ParamWedge, ValuesRunFromStartTowardsEnd) {
    const Wedge up = ParseWedge("Linear Mode/Count=2..10:2");
    EXPECT_EQ(up.key, "Linear Mode/Count");
    EXPECT_EQ(up.values, (std::vector<double>{2, 4, 6, 8, 10}));
    EXPECT_EQ(up.setting(1), "Linear Mode/Count=4");

    // Downwards, stopping at the last value that does not pass the end.
    EXPECT_EQ(ParseWedge("Radial Mode/Radius = 10 .. 2 : 3").values,
              (std::vector<double>{10, 7, 4}));
    EXPECT_EQ(ParseWedge("K=1..3").values, (std::vector<double>{1, 2, 3})); // step 1
    EXPECT_EQ(ParseWedge("K=5..5:2").values, (std::vector<double>{5}));

    // Tenths reach the end and read as written: 0.1 * 3 is 0.30000000000000004 in doubles.
    const Wedge tenths = ParseWedge("K=0..1:0.1");
    ASSERT_EQ(tenths.values.size(), 11u);
    EXPECT_EQ(tenths.setting(3), "K=0.3");
    EXPECT_EQ(tenths.values.back(), 1.0);
    EXPECT_EQ(ParseWedge("K=-1..-2:0.5").setting(1), "K=-1.5");
}

TEST(ParamWedge, RefusesWhatIsNotARange) {
    for (const char* text :
         {"Linear Mode/Count", "=1..2", "K=5", "K=1..x", "K=a..2", "K=1..2:0", "K=1..2:-1",
          "K=1..2:", "K=1..2:1:1", "K=1...3", "K=0..100000:0.01", "K=1..inf"}) {
        EXPECT_THROW(ParseWedge(text), WedgeError) << text;
    }
    try {
        ParseWedge("Linear Mode/Count=2..10:0");
        FAIL();
    } catch (const WedgeError& error) {
        EXPECT_STREQ(error.what(),
                     "--wedge \"Linear Mode/Count=2..10:0\": the step must be above 0");
    }
}

} // namespace
} // namespace plurion::host
