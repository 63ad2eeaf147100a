// The tip of the day: once at start after the main window is active, switched off and on through its
// check box (kept in status.ini), and from the Help menu.
#include "services/FileDialogSeam.h"
#include "services/IniFileStorage.h"
#include "services/MessageSeamScripted.h"
#include "shell/MainForm.h"
#include "shell/TipOfDay.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string_view>

using namespace tavrin;

namespace {

class NoFileDialogs : public IFileDialogSeam
{
public:
    QStringList GetOpenFileNames(QWidget*, const QString&, const QString&) override { return {}; }
    TSaveDialogAnswer GetSaveFileName(QWidget*, const TSaveDialogRequest&) override { return {}; }
};

struct TipFixture : ::testing::Test
{
    QTemporaryDir dir;
    TScriptedMessageSeam messages;
    NoFileDialogs dialogs;
    std::unique_ptr<TAppIniFileStorage> status;
    std::unique_ptr<TMainForm> form;

    QString StatusFile() const { return dir.filePath("status.ini"); }
    // One run of the program up to its first activation; the status file is read anew.
    void Start()
    {
        form.reset();
        status = std::make_unique<TAppIniFileStorage>(StatusFile());
        form = std::make_unique<TMainForm>(TMainForm::TServices{messages, dialogs, *status, dir.path()});
        form->TipOfDay().ShowAfterFirstActivation(*form);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QCoreApplication::processEvents(); // the posted start-up request
    }
    // The program ends: status.ini is written.
    void End()
    {
        if (TFmTipOfDay* tip = form->TipOfDay().Dialog())
            tip->close();
        form.reset();
        status->Save();
        status.reset();
    }
    void TearDown() override
    {
        if (form)
            End();
    }
    TFmTipOfDay* Tip() const { return form->TipOfDay().Dialog(); }
    void WriteStatus(const char* text)
    {
        QFile file(StatusFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

} // namespace

TEST_F(TipFixture, ShowsOnceAtStartUntilSwitchedOff)
{
    Start();
    ASSERT_NE(Tip(), nullptr);
    EXPECT_TRUE(Tip()->isVisible());
    EXPECT_TRUE(Tip()->CheckBox().isChecked());
    EXPECT_EQ(Tip()->windowTitle(), QStringLiteral("오늘의 팁"));
    EXPECT_TRUE(Tip()->ButtonClose().isDefault());
    Tip()->CheckBox().setChecked(false);
    QTest::keyClick(Tip(), Qt::Key_Escape); // Esc closes, and the box still counts
    EXPECT_TRUE(QTest::qWaitFor([&] { return Tip() == nullptr; }));
    EXPECT_FALSE(status->Store().ReadBool("TodayTip", "Show_On_Startup", true));

    // Another activation in the same run shows nothing.
    form->activateWindow();
    QCoreApplication::processEvents();
    EXPECT_EQ(Tip(), nullptr);
    End();
    QFile written(StatusFile());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().contains("[TodayTip]\r\nShow_On_Startup=FALSE\r\n"));

    Start();
    EXPECT_EQ(Tip(), nullptr);
    form->MMTipClick(); // the Help menu still shows it, with the box unticked
    ASSERT_NE(Tip(), nullptr);
    EXPECT_FALSE(Tip()->CheckBox().isChecked());
    Tip()->CheckBox().setChecked(true);
    Tip()->ButtonClose().click();
    End();

    Start();
    EXPECT_NE(Tip(), nullptr);
}

TEST_F(TipFixture, MissingOrDamagedSettingShowsTheTip)
{
    for (const char* text : {"", "[TodayTip]\r\n", "[TodayTip]\r\nShow_On_Startup=vielleicht\r\n",
                             "\x01\x02garbage\r\n[TodayTip\r\n", "[TodayTip]\r\nShow_On_Startup=FALSE\r\n"}) {
        WriteStatus(text);
        Start();
        const bool off = std::string_view(text).find("=FALSE") != std::string_view::npos;
        EXPECT_EQ(Tip() != nullptr, !off) << text;
        End();
    }
}

TEST_F(TipFixture, NextWalksAllFifteenTipsAndComesBack)
{
    const QStringList& tips = TipTexts();
    ASSERT_EQ(tips.size(), 15);
    EXPECT_EQ(tips.first(), QStringLiteral("이미지 확대/축소를 하려면 마우스 휠을 사용하시거나 +,- 버튼을 이용하시 됩니다."));
    EXPECT_EQ(tips.last(),
              QStringLiteral("Z 키를 누르면 이미지 확대모드로 변경됩니다. 이때 Alt 를 누른상태에서 클릭하면 축소가 됩니다."));
    for (int first : {0, 9, 14}) {
        TFmTipOfDay dialog(tips, first, true, nullptr);
        QStringList seen{dialog.TipText()};
        for (int i = 0; i < 15; ++i) {
            QTest::mouseClick(&dialog.ButtonNext(), Qt::LeftButton);
            seen << dialog.TipText();
        }
        EXPECT_EQ(seen.first(), tips[first]);
        EXPECT_EQ(seen.last(), seen.first());
        EXPECT_EQ(QSet<QString>(seen.begin(), seen.end()).size(), 15) << "every tip once";
    }
    TFmTipOfDay single(QStringList{"하나"}, 0, true, nullptr);
    EXPECT_FALSE(single.ButtonNext().isEnabled());
}

TEST_F(TipFixture, FirstTipIsPickedAtRandom)
{
    status = std::make_unique<TAppIniFileStorage>(StatusFile());
    form = std::make_unique<TMainForm>(TMainForm::TServices{messages, dialogs, *status, dir.path()});
    QSet<int> firsts;
    for (int run = 0; run < 40; ++run) {
        form->MMTipClick();
        ASSERT_NE(Tip(), nullptr);
        firsts << Tip()->TipIndex();
        Tip()->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return Tip() == nullptr; }));
    }
    EXPECT_GT(firsts.size(), 3);
}
