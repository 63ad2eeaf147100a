#include "services/IniFileStorage.h"

#include "SettingsTestFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

class IniFileStorageTest : public ::testing::Test
{
  protected:
    QString Path() const { return Dir.filePath("status.ini"); }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(IniFileStorageTest, LoadsOnceWritesTheMemoryCopyOnceAtTheEnd)
{
    WriteBytes(Path(), "[TodayTip]\nShow_On_Startup=no\n");
    {
        TAppIniFileStorage storage(Path());
        EXPECT_FALSE(storage.Store().ReadBool("TodayTip", "Show_On_Startup", true));
        WriteBytes(Path(), "changed behind our back"); // not read again
        EXPECT_FALSE(storage.Store().ReadBool("TodayTip", "Show_On_Startup", true));
        storage.Store().WriteBool("TodayTip", "Show_On_Startup", true);
        EXPECT_EQ(ReadBytes(Path()), "changed behind our back"); // nothing written before the end
    }
    EXPECT_EQ(ReadBytes(Path()), "[TodayTip]\r\nShow_On_Startup=TRUE\r\n\r\n");
    EXPECT_EQ(FilesIn(Dir.path()), QStringList{"status.ini"});
}

TEST_F(IniFileStorageTest, SaveRunsOnce)
{
    TAppIniFileStorage storage(Path());
    storage.Store().WriteString("s", "k", "1");
    EXPECT_TRUE(storage.Save());
    storage.Store().WriteString("s", "k", "2");
    EXPECT_FALSE(storage.Save());
    EXPECT_EQ(ReadBytes(Path()), "[s]\r\nk=1\r\n\r\n");
}

TEST_F(IniFileStorageTest, CreatesAMissingFolder)
{
    const QString path = Dir.filePath("a/b/status.ini");
    {
        TAppIniFileStorage storage(path);
        EXPECT_TRUE(storage.Store().Empty());
        storage.Store().WriteString("s", "k", "v");
    }
    EXPECT_EQ(ReadBytes(path), "[s]\r\nk=v\r\n\r\n");
}

TEST_F(IniFileStorageTest, LeavesAReadOnlyFileAlone)
{
    WriteBytes(Path(), "[s]\nk=old\n");
    MakeReadOnly(Path());
    {
        TAppIniFileStorage storage(Path());
        EXPECT_EQ(storage.Store().Value("s", "k"), "old");
        storage.Store().WriteString("s", "k", "new");
        EXPECT_FALSE(storage.Save());
    }
    EXPECT_EQ(ReadBytes(Path()), "[s]\nk=old\n");
}

TEST_F(IniFileStorageTest, FailuresAreSilentAndLeaveWhatIsThere)
{
    // A folder where the file should be: nothing can be read, nothing is replaced.
    ASSERT_TRUE(QDir(Dir.path()).mkdir("status.ini"));
    {
        TAppIniFileStorage storage(Path());
        EXPECT_TRUE(storage.Store().Empty());
        storage.Store().WriteString("s", "k", "v");
        EXPECT_FALSE(storage.Save());
    }
    EXPECT_TRUE(QFileInfo(Path()).isDir());
    // A folder that cannot be created (a file is in the way).
    WriteBytes(Dir.filePath("blocker"), "x");
    TAppIniFileStorage blocked(Dir.filePath("blocker/status.ini"));
    blocked.Store().WriteString("s", "k", "v");
    EXPECT_FALSE(blocked.Save());
    EXPECT_EQ(ReadBytes(Dir.filePath("blocker")), "x");
}
