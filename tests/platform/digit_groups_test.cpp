#include "platform/digit_groups.h"

#include <gtest/gtest.h>

namespace vistello {
namespace {

TEST(DigitGroupsTest, CommasGoBetweenGroupsOfThreeFromTheRight) {
    const std::pair<long long, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1,000"}, {123456, "123,456"}, {-1234567, "-1,234,567"}};
    for (const auto& [number, text] : cases) EXPECT_EQ(GroupThousands(number), text);
}

}  // namespace
}  // namespace vistello
