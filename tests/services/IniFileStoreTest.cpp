#include "services/IniFileStore.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavrin;

TEST(IniFileStore, ReadsTrimmedLinesAndSkipsCommentsAndBlankLines)
{
    const TIniStore store = TIniStore::Parse("  ; a comment\r\n"
                                             "\r\n"
                                             "  [ MainForm ]  \r\n"
                                             "\tNormPos  =  1,2,3,4  \r\n"
                                             ";NormPos=9,9,9,9\n"
                                             "Color=a=b\n"
                                             "Empty=\r"
                                             "[TodayTip]\n"
                                             "Show_On_Startup=FALSE");
    EXPECT_EQ(store.Value("MainForm", "NormPos"), "1,2,3,4");
    EXPECT_EQ(store.Value("MainForm", "Color"), "a=b");
    EXPECT_EQ(store.Value("MainForm", "Empty"), "");
    EXPECT_FALSE(store.ReadBool("TodayTip", "Show_On_Startup", true));
    EXPECT_EQ(store.Format(), "[MainForm]\r\nNormPos=1,2,3,4\r\nColor=a=b\r\nEmpty=\r\n\r\n"
                              "[TodayTip]\r\nShow_On_Startup=FALSE\r\n\r\n");
}

TEST(IniFileStore, NamesMatchWithoutCaseAndKeepTheirFirstSpellingAndOrder)
{
    TIniStore store = TIniStore::Parse("[Beta]\nb=1\n[alpha]\nA=2\nz=3\n[BETA]\nc=4\nB=5\n");
    EXPECT_EQ(store.Value("beta", "B"), "1"); // the first of repeated keys counts
    EXPECT_EQ(store.Value("ALPHA", "a"), "2");
    EXPECT_EQ(store.Value("Beta", "c"), "4"); // a repeated section continues the first
    store.WriteString("ALPHA", "z", "30");
    store.WriteString("Gamma", "New", "x");
    store.WriteString("alpha", "Added", "y");
    EXPECT_EQ(store.Format(), "[Beta]\r\nb=1\r\nc=4\r\n\r\n"
                              "[alpha]\r\nA=2\r\nz=30\r\nAdded=y\r\n\r\n"
                              "[Gamma]\r\nNew=x\r\n\r\n");
}

TEST(IniFileStore, TypedReadersFallBackToTheirDefault)
{
    TIniStore store = TIniStore::Parse("[s]\nn=0x20\nbad=12x\nflag=Y\nnoflag=perhaps\n");
    EXPECT_EQ(store.ReadInteger("s", "n", 5), 32);
    EXPECT_EQ(store.ReadInteger("s", "bad", 5), 5);
    EXPECT_EQ(store.ReadInteger("s", "missing", 5), 5);
    EXPECT_EQ(store.ReadInteger("other", "n", 5), 5);
    EXPECT_TRUE(store.ReadBool("s", "flag", false));
    EXPECT_TRUE(store.ReadBool("s", "noflag", true));
    EXPECT_FALSE(store.ReadBool("s", "noflag", false));
    store.WriteBool("s", "flag", false);
    store.WriteInteger("s", "n", -3);
    EXPECT_EQ(store.Value("s", "flag"), "FALSE");
    EXPECT_EQ(store.Value("s", "n"), "-3");
}

TEST(IniFileStore, DamagedTextKeepsWhatCanBeRecognised)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    const std::string text = "orphan=1\n" + garbage +
                             "\n[s]\nno equals sign\n=no key\nk=" + std::string(100000, 'x') + "\nn=7\n" +
                             garbage;
    const TIniStore store = TIniStore::Parse(text);
    EXPECT_FALSE(store.Value("", "orphan"));
    EXPECT_EQ(store.Value("s", "k")->size(), 100000u);
    EXPECT_EQ(store.ReadInteger("s", "n", 0), 7);
    // Lines that carry no setting are gone from the rewritten file; it parses back to the same store.
    EXPECT_EQ(TIniStore::Parse(store.Format()).Format(), store.Format());
    EXPECT_EQ(store.Format().find("no equals sign"), std::string::npos);
}

TEST(IniFileStore, ValuesWithLineBreaksCannotBreakTheLayout)
{
    TIniStore store;
    store.WriteString("s", "k", "one\r\n[evil]\nx=1");
    const TIniStore back = TIniStore::Parse(store.Format());
    EXPECT_FALSE(back.HasSection("evil"));
    EXPECT_EQ(back.Value("s", "k"), "one  [evil] x=1");
}

TEST(IniFileStore, ManyDistinctKeysParseQuickly)
{
    std::string text = "[s]\n";
    for (int i = 0; i < 100000; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    const TIniStore store = TIniStore::Parse(text); // quadratic lookups would take minutes here
    EXPECT_EQ(store.ReadInteger("s", "KEY99999", 0), 99999);
}
