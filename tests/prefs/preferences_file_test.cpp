#include "prefs/preferences_file.h"

#include <gtest/gtest.h>

namespace vistello {
namespace {

// Only empty tags take their defaults: blanks are a value.
TEST(PreferencesFileTest, WritesEveryKeyInItsPlaceThenAnEmptyLine) {
    Preferences preferences{"no", {}, "/home/u/garden.dat"};
    preferences.tags.width = "  ";
    preferences.tags.alt = " [alt] ";
    preferences.tags.FillEmptyWithDefaults();
    EXPECT_EQ(FormatPreferencesText(preferences),
              "CREATOR=Vistello 1.0\nIMAGEPATH=<<IMAGEPATH>>\nIMAGETITLE=<<IMAGETITLE>>\n"
              "HEIGHT=<<HEIGHT>>\nWIDTH=  \nBORDER=<<BORDER>>\nALT= [alt] \n"
              "KEYWORDS=<<KEYWORDS>>\nTOOLTIPS=no\nDESCRIPTION=<<DESCRIPTION>>\n"
              "FILE=/home/u/garden.dat\n\n");
}

TEST(PreferencesFileTest, ReadsBackWhatItWroteButTrailingSpace) {
    Preferences written{"No", {}, "a=b.dat"};
    written.tags.imageTitle = "<<TI=TLE>>";
    written.tags.alt = " [alt] ";
    Preferences read;
    ParsePreferencesText(FormatPreferencesText(written), read);
    written.tags.alt = " [alt]";
    EXPECT_EQ(read, written);
}

TEST(PreferencesFileTest, OnlyExactKeysSetValuesAndTheLastOneWins) {
    Preferences preferences{"yes", {}, "old.dat"};
    preferences.tags.alt = "[alt]";
    ParsePreferencesText("tooltips=no\nFILE =x.dat\nFILE=a.dat\nFILE=b.dat\nALT=\nTOOLTIPS",
                         preferences);
    EXPECT_EQ(preferences.toolTips, "");
    EXPECT_EQ(preferences.projectFile, "b.dat");
    EXPECT_EQ(preferences.tags.alt, "");
}

}  // namespace
}  // namespace vistello
