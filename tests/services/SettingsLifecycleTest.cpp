// The settings over whole runs of the program, as the main window drives them: status.ini loaded at
// start, config.ini read when the window is made, the placement restored when it is first shown, the
// tip's switch written after it showed, the placement saved on close, config.ini and then status.ini
// written at the end.
#include "SettingsTestFiles.h"
#include "services/Config.h"
#include "services/FormStorage.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"

#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

using namespace tavrin;
using namespace tavrin::test;

namespace {

constexpr TColor DesignGreen{0x008000};

// What one run of the program saw at start.
struct TStartState
{
    bool UseViewSelected = false;
    bool ShowTip = false;
    QRect Geometry;
    TColor GuideColor{};
};

class SettingsLifecycleTest : public ::testing::Test
{
  protected:
    // One run; during() acts like the user between start and exit.
    TStartState Run(const TScreenMetrics& screen,
                    const std::function<void(QWidget&, TConfig&, TColor&, bool&)>& during)
    {
        TStartState start;
        TAppIniFileStorage storage(Dir.filePath("status.ini"));
        {
            QWidget form;
            form.setGeometry(300, 263, 892, 746); // design place and size
            TColor color = DesignGreen;
            TConfig config(Messages, Dir.path());
            TFormStorage formStorage(storage.Store(), form,
                                     {[&] { return color; }, [&](TColor c) { color = c; }});
            formStorage.Restore(screen);
            bool showTip =
                storage.Store().ReadBool(StatusIni::TodayTipSection, StatusIni::ShowOnStartupKey, true);
            start = {config.UseViewSelected, showTip, form.geometry(), color};
            during(form, config, color, showTip); // showTip: the tip dialog's check box
            if (start.ShowTip)
                storage.Store().WriteBool(StatusIni::TodayTipSection, StatusIni::ShowOnStartupKey, showTip);
            formStorage.Save(screen);
        }
        return start;
    }

    QTemporaryDir Dir;
    TScriptedMessageSeam Messages;
    TScreenMetrics Screen1280{QSize(1280, 1024), 96, {QRect(0, 0, 1280, 984)}};
};

} // namespace

TEST_F(SettingsLifecycleTest, FirstRunInAnEmptyFolderWritesBothFiles)
{
    const TStartState start = Run(Screen1280, [](QWidget&, TConfig&, TColor&, bool&) {});
    EXPECT_TRUE(start.UseViewSelected);
    EXPECT_TRUE(start.ShowTip);
    // The design place would put the bottom edge at 1009, below the work area's 984: moved up.
    EXPECT_EQ(start.Geometry, QRect(300, 238, 892, 746));
    EXPECT_EQ(start.GuideColor, DesignGreen);

    EXPECT_EQ(ReadBytes(Dir.filePath("config.ini")), "[option]\r\nUseViewSelected=1\r\n");
    EXPECT_EQ(ReadBytes(Dir.filePath("status.ini")), "[TodayTip]\r\n"
                                                     "Show_On_Startup=TRUE\r\n"
                                                     "\r\n"
                                                     "[MainForm]\r\n"
                                                     "FormVersion=0\r\n"
                                                     "Flags=0\r\n"
                                                     "PixelsPerInch=96\r\n"
                                                     "MinMaxPos(1280x1024)=-1,-1,-1,-1\r\n"
                                                     "MinMaxPos=-1,-1,-1,-1\r\n"
                                                     "NormPos(1280x1024)=300,238,1192,984\r\n"
                                                     "NormPos=300,238,1192,984\r\n"
                                                     "ColorDialog_Color=clGreen\r\n"
                                                     "\r\n");
    EXPECT_EQ(FilesIn(Dir.path()), (QStringList{"config.ini", "status.ini"}));
    EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(SettingsLifecycleTest, ChangesOfOneRunAreSeenByTheNext)
{
    Run(Screen1280, [](QWidget& form, TConfig& config, TColor& color, bool& showTip) {
        form.setGeometry(40, 30, 900, 600);
        config.UseViewSelected = false;
        color = clRed;
        showTip = false;
    });
    const TStartState second = Run(Screen1280, [](QWidget&, TConfig&, TColor&, bool&) {});
    EXPECT_FALSE(second.UseViewSelected);
    EXPECT_FALSE(second.ShowTip);
    EXPECT_EQ(second.Geometry, QRect(40, 30, 900, 600));
    EXPECT_EQ(second.GuideColor, clRed);
    EXPECT_EQ(ReadBytes(Dir.filePath("config.ini")), "[option]\r\nUseViewSelected=0\r\n");

    // A screen of another size uses the plain keys, and afterwards has keys of its own.
    const TScreenMetrics wide{QSize(1920, 1080), 96, {QRect(0, 0, 1920, 1040)}};
    const TStartState third = Run(wide, [](QWidget&, TConfig&, TColor&, bool&) {});
    EXPECT_EQ(third.Geometry, QRect(40, 30, 900, 600));
    const std::string status = ReadBytes(Dir.filePath("status.ini"));
    EXPECT_NE(status.find("NormPos(1280x1024)=40,30,940,630\r\n"), std::string::npos);
    EXPECT_NE(status.find("NormPos(1920x1080)=40,30,940,630\r\n"), std::string::npos);
}

TEST_F(SettingsLifecycleTest, DamagedFilesGiveDefaultsAndAreReplacedByGoodOnes)
{
    std::string garbage;
    for (int i = 0; i < 8192; ++i)
        garbage += static_cast<char>((i * 2654435761u) >> 24);
    WriteBytes(Dir.filePath("config.ini"),
               garbage + "\n[option]\nUseViewSelected=" + std::string(100000, 'z') + "\n" + garbage);
    WriteBytes(Dir.filePath("status.ini"),
               garbage + "\n[MainForm]\nFlags=not a number\nFormVersion=" + std::string(100000, '9') +
                   "\nNormPos=100,50,abc\n" + "ColorDialog_Color=cl" + garbage.substr(0, 40) +
                   "\n[TodayTip]\nShow_On_Startup=sometimes\n" + garbage);

    const TStartState start = Run(Screen1280, [](QWidget&, TConfig&, TColor&, bool&) {});
    EXPECT_TRUE(start.UseViewSelected);
    EXPECT_TRUE(start.ShowTip);
    // Right and bottom kept from the design place, then moved up into the work area.
    EXPECT_EQ(start.Geometry, QRect(100, 25, 1192 - 100, 1009 - 50));
    EXPECT_EQ(start.GuideColor, DesignGreen);
    EXPECT_TRUE(Messages.Shown.empty());

    // config.ini keeps everything but the option's line; status.ini is rewritten readable.
    const std::string config = ReadBytes(Dir.filePath("config.ini"));
    EXPECT_EQ(config, garbage + "\n[option]\nUseViewSelected=1\n" + garbage);
    const TStartState again = Run(Screen1280, [](QWidget&, TConfig&, TColor&, bool&) {});
    EXPECT_EQ(again.Geometry, start.Geometry);
    const TIniStore status = TIniStore::Parse(ReadBytes(Dir.filePath("status.ini")));
    EXPECT_EQ(status.Value("MainForm", "Flags"), "0");
    EXPECT_EQ(status.Value("MainForm", "FormVersion"), "0");
    EXPECT_EQ(status.Value("TodayTip", "Show_On_Startup"), "TRUE");
}

TEST_F(SettingsLifecycleTest, UnwritableConfigIsReportedAndStatusIsStillWritten)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir("config.ini"));
    Run(Screen1280, [](QWidget&, TConfig&, TColor&, bool&) {});
    ASSERT_EQ(Messages.Shown.size(), 1u);
    EXPECT_EQ(Messages.Shown[0].Text, "Unable to write to " + Dir.filePath("config.ini"));
    EXPECT_NE(ReadBytes(Dir.filePath("status.ini")).find("[MainForm]"), std::string::npos);
}
