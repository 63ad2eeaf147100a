#include "services/Config.h"

#include "SettingsTestFiles.h"
#include "services/ConfigPaths.h"
#include "services/FileReplace.h"
#include "services/MessageSeamScripted.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class ConfigTest : public ::testing::Test
{
  protected:
    QString Path() const { return Dir.filePath("config.ini"); }

    bool ReadOption(const std::string& fileText)
    {
        WriteBytes(Path(), fileText);
        return TConfig(Messages, Dir.path()).UseViewSelected;
    }

    QTemporaryDir Dir;
    TScriptedMessageSeam Messages;
};

} // namespace

TEST_F(ConfigTest, ReadsTheOptionAsAWholeNumberDefaultingToOn)
{
    struct Case
    {
        std::string File;
        bool Expected;
    };
    const Case cases[] = {
        {"[option]\r\nUseViewSelected=0\r\n", false},
        {"[option]\r\nUseViewSelected=1\r\n", true},
        {"[OPTION]\nuseviewselected = 0\n", false},
        {"[option]\nUseViewSelected=0x10\n", true},
        {"[option]\nUseViewSelected=$0\n", false},
        {"[option]\nUseViewSelected=abc\n", true},
        {"[option]\nUseViewSelected=\n", true},
        {"[option]\nOther=0\n", true},
        {"[other]\nUseViewSelected=0\n", true},
        {"[option]\nUseViewSelected=" + std::string(100000, '0') + "\n", false},
        {"[option]\nUseViewSelected=" + std::string(100000, '1') + "\n", true},
        {std::string("\0\xff\xfe\n[option]\x01\nUseViewSelected=0\n\x80\x81", 33), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadOption(c.File), c.Expected) << c.File.substr(0, 60);
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(ConfigTest, MissingFileGivesOnAndIsCreatedAtDestruction)
{
    {
        TConfig config(Messages, Dir.path());
        EXPECT_TRUE(config.UseViewSelected);
        EXPECT_EQ(config.FileName(), Path());
        EXPECT_EQ(ReadBytes(Path()), "<missing>"); // reading never creates the file
    }
    EXPECT_EQ(ReadBytes(Path()), "[option]\r\nUseViewSelected=1\r\n");
    EXPECT_EQ(FilesIn(Dir.path()), QStringList{"config.ini"});
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(ConfigTest, SwitchingOffIsWrittenAndReadBackLeavingOtherLinesAlone)
{
    const std::string before =
        "; written by hand\n[Option]\nColour = red  \nUseViewSelected=1\n\n[misc]\nx=y\n";
    WriteBytes(Path(), before);
    {
        TConfig config(Messages, Dir.path() + "/");
        config.UseViewSelected = false;
    }
    EXPECT_EQ(ReadBytes(Path()),
              "; written by hand\n[Option]\nColour = red  \nUseViewSelected=0\n\n[misc]\nx=y\n");
    EXPECT_FALSE(TConfig(Messages, Dir.path()).UseViewSelected);
}

TEST_F(ConfigTest, AFailedWriteIsReportedAndTheOldFileStays)
{
    const std::string before = "[option]\nUseViewSelected=1\n";
    WriteBytes(Path(), before);
    MakeReadOnly(Path());
    {
        TConfig config(Messages, Dir.path());
        config.UseViewSelected = false;
    }
    EXPECT_EQ(ReadBytes(Path()), before);
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Unable to write to " + Path());
    EXPECT_EQ(Messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(FilesIn(Dir.path()), QStringList{"config.ini"});
}

TEST_F(ConfigTest, ADiskThatFillsUpWhileWritingIsReportedAndTheOldFileStays)
{
    const std::string before = "[option]\r\nUseViewSelected=1\r\n";
    WriteBytes(Path(), before);
    SetFileWriteFaultForTest({.FailAtWrite = 1, .Error = ENOSPC});
    {
        TConfig config(Messages, Dir.path());
        config.UseViewSelected = false;
    }
    ClearFileWriteFaultForTest();
    EXPECT_EQ(ReadBytes(Path()), before);
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Unable to write to " + Path());
    EXPECT_EQ(FilesIn(Dir.path()), QStringList{"config.ini"});
}

TEST_F(ConfigTest, AFolderInThePlaceOfTheFileIsReportedNotReplaced)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir("config.ini"));
    ASSERT_TRUE(QDir(Path()).mkdir("keep"));
    {
        TConfig config(Messages, Dir.path());
        EXPECT_TRUE(config.UseViewSelected);
    }
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Unable to write to " + Path());
    EXPECT_TRUE(QDir(Path()).exists("keep"));
}

TEST_F(ConfigTest, MissingFolderIsReported)
{
    {
        TConfig config(Messages, Dir.filePath("gone"));
    }
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Unable to write to " + Dir.filePath("gone/config.ini"));
}

TEST(ConfigPaths, ServerVariables)
{
    TScriptedMessageSeam messages;
    const QString exe = QCoreApplication::applicationFilePath();
    EXPECT_EQ(php_server("PHP_SELF", messages), exe);
    EXPECT_EQ(php_server("SCRIPT_FILENAME", messages), exe);
    const QString root = php_server("DOCUMENT_ROOT", messages);
    EXPECT_TRUE(root.endsWith('/'));
    EXPECT_EQ(root + QFileInfo(exe).fileName(), exe);
    EXPECT_TRUE(messages.Shown.empty());

    EXPECT_EQ(php_server("document_root", messages), "");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, "Unkown Command php_server:document_root");
    EXPECT_EQ(messages.Shown[0].Caption, ""); // the simple box: the application title as caption

    EXPECT_EQ(FolderOfPath("/opt/a\\b/ta:vrin"), "/opt/a\\b/");
    EXPECT_EQ(FolderOfPath("/opt/tavrin/tavrin"), "/opt/tavrin/");
}
