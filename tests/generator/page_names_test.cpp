#include "generator/page_names.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace vistello {
namespace {

struct NameCase {
    std::string title;
    std::string fileName;
    std::string linkTarget;
};

const std::string kLongName = std::string(243, 'a') + ".htm";

TEST(PageNameTest, NamesThePageAndItsLink) {
    const NameCase cases[] = {
        NameCase{"Day One", "day_one.htm", "day_one.htm"},
        NameCase{"", "_.htm", "_.htm"},
        NameCase{".Profile", "_profile.htm", "_profile.htm"},
        NameCase{"Tab\there", "tab\there.htm", "tab%09here.htm"},
        NameCase{"Été À", "Été_À.htm", "%C3%89t%C3%A9_%C3%80.htm"},
        NameCase{"../b/../C", "_._b_.._c.htm", "_._b_.._c.htm"},
        NameCase{std::string("x\0y", 3), "x_y.htm", "x_y.htm"},
        NameCase{R"(Q: "1" <2> 'a'=`b` & #c? 50%\d)", R"(q:_"1"_<2>_'a'=`b`_&_#c?_50%\d.htm)",
                 "q%3A_%221%22_%3C2%3E_%27a%27%3D%60b%60_%26_%23c%3F_50%25%5Cd.htm"},
        NameCase{"\x7F\x1F", "\x7F\x1F.htm", "%7F%1F.htm"},
        NameCase{std::string(300, 'A'), kLongName, kLongName},
        NameCase{std::string(242, 'a') + "\xC3\xA9" + std::string(20, 'b'),
                 std::string(242, 'a') + ".htm", std::string(242, 'a') + ".htm"}};
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.fileName);
        EXPECT_EQ(PageFileName(c.title), c.fileName);
        EXPECT_EQ(EncodeLinkTarget(PageFileName(c.title)), c.linkTarget);
    }
}

struct SetCase {
    const char* name;
    std::vector<std::string_view> titles;
    std::vector<std::string> imageNames;
    std::vector<std::string> expected;
};

class PageSetNameTest : public ::testing::TestWithParam<SetCase> {};

TEST_P(PageSetNameTest, EveryPageGetsANameOfItsOwn) {
    const SetCase& c = GetParam();
    EXPECT_EQ(PageFileNames(c.titles, c.imageNames), c.expected);
}

const std::string kLongTitle(260, 'l');
const std::string kFullTitle(251, 'f');

INSTANTIATE_TEST_SUITE_P(
    Sets, PageSetNameTest,
    ::testing::Values(SetCase{"LaterTitlesOfOneNameAreNumbered",
                              {"Trip", "a b", "x/y", "trip", "a_b", "x_y", "TRIP"},
                              {},
                              {"trip.htm", "a_b.htm", "x_y.htm", "trip_2.htm", "a_b_2.htm",
                               "x_y_2.htm", "trip_3.htm"}},
                      SetCase{"NumbersSkipNamesOtherTitlesHave",
                              {"a", "a", "a_2"},
                              {},
                              {"a.htm", "a_3.htm", "a_2.htm"}},
                      SetCase{"ImagesKeepTheirNames",
                              {"P", "Q", "q"},
                              {"p.htm", "q_2.htm", "x.jpg"},
                              {"p_2.htm", "q.htm", "q_3.htm"}},
                      SetCase{"NumberedNamesStayWithinTheLimit",
                              {kLongTitle, kLongTitle, kFullTitle, kFullTitle},
                              {},
                              {std::string(243, 'l') + ".htm", std::string(243, 'l') + "_2.htm",
                               kFullTitle + ".htm", std::string(249, 'f') + "_2.htm"}}),
    [](const auto& param) { return param.param.name; });

}  // namespace
}  // namespace vistello
