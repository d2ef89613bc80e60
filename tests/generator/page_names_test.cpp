#include "generator/page_names.h"

#include <gtest/gtest.h>

#include <string>

namespace vistello {
namespace {

struct NameCase {
    std::string title;
    std::string fileName;
    std::string linkTarget;
};

class PageNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PageNameTest, NamesThePageAndItsLink) {
    const NameCase& c = GetParam();
    EXPECT_EQ(PageFileName(c.title), c.fileName);
    EXPECT_EQ(EncodeLinkTarget(PageFileName(c.title)), c.linkTarget);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PageNameTest,
    ::testing::Values(NameCase{"Day One", "day_one.htm", "day_one.htm"},
                      NameCase{"", ".htm", ".htm"},
                      NameCase{"Tab\there", "tab\there.htm", "tab%09here.htm"},
                      NameCase{"Été À", "Été_À.htm", "%C3%89t%C3%A9_%C3%80.htm"},
                      NameCase{"a/b/../C", "a_b_.._c.htm", "a_b_.._c.htm"},
                      NameCase{std::string("x\0y", 3), "x_y.htm", "x_y.htm"},
                      NameCase{R"(Q: "1" <2> 'a'=`b` & #c? 50%\d)",
                               R"(q:_"1"_<2>_'a'=`b`_&_#c?_50%\d.htm)",
                               "q%3A_%221%22_%3C2%3E_%27a%27%3D%60b%60_%26_%23c%3F_50%25%5Cd.htm"},
                      NameCase{"\x7F\x1F", "\x7F\x1F.htm", "%7F%1F.htm"}));

}  // namespace
}  // namespace vistello
