// The dialog that asks where and how to save every piece of the guide grid.
#include "dialogs/FmSaveSlices.h"
#include "services/MessageSeamScripted.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace tavrin;

TEST(FmSaveSlices, ProposesPngWithAPageAndCountsThePieces)
{
    TScriptedMessageSeam messages;
    TFmSaveSlices dialog(3, 4, messages);
    dialog.SetBaseName(QStringLiteral("banner"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("조각 모두 저장"));
    EXPECT_EQ(dialog.Extension(), QStringLiteral("png"));
    EXPECT_TRUE(dialog.MakePage());
    EXPECT_EQ(dialog.CkPage().text(), QStringLiteral("HTML 페이지 만들기"));
    EXPECT_EQ(dialog.LbCount().text(), QStringLiteral("3 × 4 = 12 조각: banner_1_1.png … banner_3_4.png"));

    dialog.CbFormat().setCurrentIndex(0);
    EXPECT_EQ(dialog.Extension(), QStringLiteral("jpg"));
    dialog.EdBaseName().end(false);
    dialog.EdBaseName().insert(QStringLiteral("_조각")); // as the input method commits it
    EXPECT_EQ(dialog.LbCount().text(), QStringLiteral("3 × 4 = 12 조각: banner_조각_1_1.jpg … banner_조각_3_4.jpg"));

    TFmSaveSlices big(12, 100, messages);
    big.SetBaseName(QStringLiteral("a"));
    EXPECT_EQ(big.LbCount().text(), QStringLiteral("12 × 100 = 1200 조각: a_001_001.png … a_012_100.png"));
}

TEST(FmSaveSlices, RefusesNamesAndFoldersThatCannotBeWritten)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct
    {
        QString folder, base;
        bool accepted;
    } const cases[] = {
        {dir.path(), QStringLiteral("banner"), true},
        {dir.path(), QStringLiteral("a/b"), false},
        {dir.path(), QStringLiteral("a\\b"), false},
        {dir.path(), QStringLiteral("  "), false},
        {dir.path(), QStringLiteral(".."), false},
        {dir.filePath("file"), QStringLiteral("banner"), false}, // not a folder, and none can be made there
    };
    for (const auto& c : cases) {
        TScriptedMessageSeam messages;
        TFmSaveSlices dialog(1, 1, messages);
        dialog.SetFolder(c.folder);
        dialog.SetBaseName(c.base);
        dialog.BuOk().click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.base.toStdString();
        EXPECT_EQ(messages.Shown.size(), c.accepted ? 0u : 1u) << c.base.toStdString();
    }
}

// A folder that does not exist yet is offered to be made: Yes makes it (with the folders above it) and goes
// on, No stays in the dialog with nothing made; a folder that cannot be made says so.
TEST(FmSaveSlices, OffersToMakeAMissingFolder)
{
    QTemporaryDir dir;
    const QString question = QStringLiteral("폴더가 없습니다: %1\r\n새로 만드시겠습니까?");
    const QString missing = dir.filePath("new/pieces");
    {
        TScriptedMessageSeam messages;
        messages.Answers = {TMsgButton::No};
        TFmSaveSlices dialog(1, 1, messages);
        dialog.SetFolder(missing);
        dialog.SetBaseName(QStringLiteral("banner"));
        dialog.BuOk().click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text, question.arg(missing));
        EXPECT_EQ(messages.Shown[0].Buttons, TMsgButton::Yes | TMsgButton::No);
        EXPECT_EQ(messages.Shown[0].Owner, &dialog);
        EXPECT_FALSE(QFileInfo::exists(dir.filePath("new")));

        messages.Answers = {TMsgButton::Yes};
        dialog.BuOk().click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(messages.Shown.size(), 2u);
        EXPECT_TRUE(QFileInfo(missing).isDir());
    }
    QFile file(dir.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TScriptedMessageSeam messages;
    messages.Answers = {TMsgButton::Yes};
    TFmSaveSlices dialog(1, 1, messages);
    dialog.SetFolder(dir.filePath("file/below"));
    dialog.SetBaseName(QStringLiteral("banner"));
    dialog.BuOk().click();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(messages.Shown[1].Text, QStringLiteral("폴더를 만들 수 없습니다: %1").arg(dir.filePath("file/below")));
    EXPECT_EQ(messages.Shown[1].Icon, TMsgIcon::Error);
}

TEST(FmSaveSlices, BrowseFillsTheFolderAndCancelKeepsIt)
{
    TScriptedMessageSeam messages;
    TFmSaveSlices dialog(1, 1, messages);
    dialog.SetFolder(QStringLiteral("/tmp"));
    QString answer = QStringLiteral("/var/tmp");
    QString startedAt;
    dialog.ChooseFolder = [&](QWidget*, const QString& start) {
        startedAt = start;
        return answer;
    };
    dialog.BuBrowse().click();
    EXPECT_EQ(startedAt, QStringLiteral("/tmp"));
    EXPECT_EQ(dialog.Folder(), QStringLiteral("/var/tmp"));
    answer.clear();
    dialog.BuBrowse().click();
    EXPECT_EQ(dialog.Folder(), QStringLiteral("/var/tmp"));
}
