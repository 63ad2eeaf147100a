#include "dialogs/FmImgSize.h"
#include "dialogs/SpinEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace tavrin;

namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct ParseCase
{
    const char16_t* text;
    std::int32_t value;
};

TEST(ParseWholeNumber, ReadsSignedDigitsAndSaturates)
{
    const ParseCase cases[] = {
        {u"320", 320},
        {u"+7", 7},
        {u"-15", -15},
        {u"007", 7},
        {u" 42 ", 42},
        {u"", 0},
        {u"-", 0},
        {u"+", 0},
        {u"12.5", 0},
        {u"1a", 0},
        {u"--1", 0},
        {u"1-", 0},
        {u"\u0661\u0662", 0}, // digits of another script
        {u"2147483647", kMax},
        {u"2147483648", kMax},
        {u"99999999999999999999999", kMax},
        {u"-2147483648", kMin},
        {u"-99999999999", kMin},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseWholeNumber(QString::fromUtf16(c.text)), c.value)
            << QString::fromUtf16(c.text).toStdString();
}

struct ImgSizeDialog : ::testing::Test
{
    QWidget owner;
    std::unique_ptr<TFmImgSize> dlg;

    void SetUp() override
    {
        QGuiApplication::clipboard()->clear();
        owner.setGeometry(100, 100, 400, 300);
        owner.show();
    }
    void TearDown() override
    {
        dlg.reset();
        QGuiApplication::clipboard()->clear();
    }

    void Create() { dlg = std::make_unique<TFmImgSize>(&owner); }
    void Show()
    {
        Create();
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    QWidget* focused() const { return QApplication::focusWidget(); }
    void Type(const QString& keys)
    {
        ASSERT_NE(focused(), nullptr);
        QTest::keyClicks(focused(), keys);
    }
    void Key(Qt::Key key)
    {
        ASSERT_NE(focused(), nullptr);
        QTest::keyClick(focused(), key);
    }
};

} // namespace

TEST_F(ImgSizeDialog, ProposesTheClipboardPictureSizeOrTheDefault)
{
    QGuiApplication::clipboard()->setImage(QImage(640, 480, QImage::Format_RGB32));
    Create();
    EXPECT_EQ(dlg->SEditWidth().Text(), "640");
    EXPECT_EQ(dlg->SEditHeight().Text(), "480");

    QGuiApplication::clipboard()->setText("640 x 480");
    Create();
    EXPECT_EQ(dlg->GetSize().Width, 320);
    EXPECT_EQ(dlg->GetSize().Height, 240);

    QGuiApplication::clipboard()->clear();
    Create();
    EXPECT_EQ(dlg->GetSize().Width, 320);
    EXPECT_EQ(dlg->GetSize().Height, 240);
}

TEST_F(ImgSizeDialog, FixedCentredFrameWithoutDefaultButton)
{
    Show();
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("이미지 사이즈 설정"));
    EXPECT_EQ(dlg->minimumSize(), QSize(280, 162));
    EXPECT_EQ(dlg->maximumSize(), QSize(280, 162));
    EXPECT_LE((dlg->geometry().center() - owner.geometry().center()).manhattanLength(), 2);
    // Qt makes the first auto-default button the default when a dialog shows; here there is none.
    EXPECT_FALSE(dlg->BuOk().isDefault());
    EXPECT_FALSE(dlg->BuCancel().isDefault());
    EXPECT_EQ(focused(), &dlg->SEditWidth());
}

TEST_F(ImgSizeDialog, TypingBothFieldsWithEnterConfirms)
{
    Create();
    bool closed = false;
    QTimer::singleShot(0, dlg.get(), [&] {
        if (!QTest::qWaitForWindowActive(dlg.get())) return dlg->done(-1);
        Type("800");
        Key(Qt::Key_Return); // moves on, does not close
        closed = !dlg->isVisible();
        if (closed) return;
        EXPECT_EQ(focused(), &dlg->SEditHeight());
        Type("600");
        Key(Qt::Key_Enter);
        if (dlg->isVisible()) dlg->done(-1);
    });
    EXPECT_EQ(dlg->exec(), QDialog::Accepted);
    EXPECT_FALSE(closed);
    auto [w, h] = dlg->GetSize();
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
}

TEST_F(ImgSizeDialog, KeyFilterRefusesLettersAndTakesSigns)
{
    Show();
    Type("x");
    EXPECT_EQ(dlg->SEditWidth().Text(), "320"); // the selected text was not replaced
    Type("1a2 b");
    EXPECT_EQ(dlg->SEditWidth().Text(), "12");

    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(dlg->SEditWidth().Text(), "");
    EXPECT_EQ(dlg->GetSize().Width, 0);
    Type("-");
    EXPECT_EQ(dlg->GetSize().Width, 0);
    Type("5");
    EXPECT_EQ(dlg->GetSize().Width, -5);
    dlg->SEditWidth().SetText("+0");
    EXPECT_EQ(dlg->GetSize().Width, 0);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ImgSizeDialog, UpAndDownStepByOneWithoutLimits)
{
    Show();
    Key(Qt::Key_Up);
    EXPECT_EQ(dlg->SEditWidth().Text(), "321");
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(dlg->GetSize().Width, 319);

    dlg->SEditWidth().SetText("0");
    Key(Qt::Key_Down);
    EXPECT_EQ(dlg->GetSize().Width, -1);
    dlg->SEditWidth().SetText("abc"); // pasted text reads as 0
    Key(Qt::Key_Up);
    EXPECT_EQ(dlg->SEditWidth().Text(), "1");
    dlg->SEditWidth().SetValue(kMax);
    Key(Qt::Key_Up);
    EXPECT_EQ(dlg->GetSize().Width, kMax); // saturates, never wraps to a negative size
}

TEST_F(ImgSizeDialog, EscDoesNothingCancelAndCloseBoxReject)
{
    Show();
    Key(Qt::Key_Escape);
    ASSERT_TRUE(dlg->isVisible());
    dlg->BuCancel().setFocus();
    Key(Qt::Key_Escape);
    ASSERT_TRUE(dlg->isVisible());

    QTest::mouseClick(&dlg->BuCancel(), Qt::LeftButton);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Rejected);

    Show();
    dlg->close();
    EXPECT_EQ(dlg->result(), QDialog::Rejected);

    Show();
    dlg->BuCancel().setFocus();
    Key(Qt::Key_Return); // a focused button is pressed by Enter
    EXPECT_EQ(dlg->result(), QDialog::Rejected);
    EXPECT_FALSE(dlg->isVisible());

    Show();
    QTest::mouseClick(&dlg->BuOk(), Qt::LeftButton);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
}
