#include "services/IniFileLines.h"

#include <gtest/gtest.h>

using namespace tavrin;

TEST(IniFileLines, ReadsTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    const char* text = "[other]\nUseViewSelected=5\n"
                       "[ OPTION ]\n; UseViewSelected=7\n  useviewselected = \"0\" \nUseViewSelected=9\n"
                       "[option]\nUseViewSelected=8\n";
    EXPECT_EQ(ReadIniLine(text, "option", "UseViewSelected"), "0");
    EXPECT_EQ(ReadIniLine(text, "other", "UseViewSelected"), "5");
    EXPECT_FALSE(ReadIniLine(text, "option", "Missing"));
    EXPECT_FALSE(ReadIniLine(text, "none", "UseViewSelected"));
    EXPECT_FALSE(ReadIniLine("UseViewSelected=1\n", "option", "UseViewSelected"));
}

TEST(IniFileLines, LongValuesAreCut)
{
    const std::string text = "[option]\nUseViewSelected=" + std::string(100000, '7') + "\n";
    EXPECT_EQ(ReadIniLine(text, "option", "UseViewSelected"), std::string(MaxIniValueLength, '7'));
}

TEST(IniFileLines, WritingChangesOnlyTheKeysLine)
{
    struct Case
    {
        const char* Name;
        std::string Before;
        std::string After;
    };
    const Case cases[] = {
        {"empty file", "", "[option]\r\nUseViewSelected=0\r\n"},
        {"key replaced, neighbours byte for byte",
         "; mine\n[Option]\r\n  usEViewSelected = 1 ; old\r\nOther = x \n\n[next]\nUseViewSelected=1\n",
         "; mine\n[Option]\r\nUseViewSelected=0\r\nOther = x \n\n[next]\nUseViewSelected=1\n"},
        {"key added after the section's last line, before its blank lines",
         "[option]\nOther=x\n\n\n[next]\na=b\n", "[option]\nOther=x\nUseViewSelected=0\n\n\n[next]\na=b\n"},
        {"key added under a header at the end without a line break", "[a]\r\nb=c\r\n[option]",
         "[a]\r\nb=c\r\n[option]\r\nUseViewSelected=0\r\n"},
        {"section added at the end, file's own line break", "[a]\nb=c",
         "[a]\nb=c\n[option]\nUseViewSelected=0\n"},
        {"last line without break replaced keeps having none", "[option]\nUseViewSelected=1",
         "[option]\nUseViewSelected=0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WriteIniLine(c.Before, "option", "UseViewSelected", "0"), c.After) << c.Name;
        EXPECT_EQ(ReadIniLine(c.After, "option", "UseViewSelected"), "0") << c.Name;
    }
}

TEST(IniFileLines, BinaryGarbageAroundTheSectionSurvivesAWrite)
{
    std::string garbage;
    for (int i = 0; i < 2000; ++i)
        garbage += static_cast<char>((i * 31 + 7) % 256);
    const std::string before = garbage + "\n[option]\nUseViewSelected=1\n" + garbage;
    const std::string after = WriteIniLine(before, "option", "UseViewSelected", "0");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(after.substr(after.size() - garbage.size()), garbage);
    EXPECT_EQ(ReadIniLine(after, "option", "UseViewSelected"), "0");
}
