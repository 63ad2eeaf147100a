#include "services/FileDialogSeam.h"
#include "services/ImgFunSave.h"
#include "support/ModalProbe.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavrin;

// Qt's own dialog shows each entry's description as the platform filter has it and matches its patterns.
TEST(FileDialogSeam, SaveFilterShowsTheDescriptionsUnchanged)
{
    const QStringList filters = QtNameFilters(SavePictureFilter());
    ASSERT_EQ(filters.size(), 11);
    EXPECT_EQ(filters[0], QStringLiteral("JPEG Image Files (*.jpg;*.jpeg) (*.jpg)"));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    dialog.setNameFilters(filters);
    auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 11);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("JPEG Image Files (*.jpg;*.jpeg)"));
    EXPECT_EQ(combo->itemText(5), QStringLiteral("Windows bitmap 32bit (*.bmp)"));
    // The entry chosen comes back as its place in the platform filter, which picks the depth.
    dialog.selectNameFilter(filters[5]);
    EXPECT_EQ(FilterEntryOf(SavePictureFilter(), dialog.selectedNameFilter()), 6);
    dialog.selectNameFilter(filters[2]);
    EXPECT_EQ(FilterEntryOf(SavePictureFilter(), dialog.selectedNameFilter()), 3);
}

TEST(FileDialogSeam, ANameWithoutAnEndingTakesTheChosenEntrysEnding)
{
    const QString filter = SavePictureFilter();
    const struct
    {
        const char* Name;
        int Entry;
        const char* Expected;
    } cases[] = {
        {"/p/bare", 1, "/p/bare.jpg"},     {"/p/bare", 2, "/p/bare.gif"},       {"/p/bare", 6, "/p/bare.bmp"},
        {"/p/bare", 11, "/p/bare.cur"},    {"/p/bare", 12, "/p/bare.png"},      {"/p/bare", 0, "/p/bare.png"},
        {"/p/x.tif", 1, "/p/x.tif"},       {"/p/x.jpeg", 3, "/p/x.jpeg"},       {"/p.d/bare", 1, "/p.d/bare.jpg"},
        {"", 1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NameWithEntryEnding(QString::fromUtf8(c.Name), filter, c.Entry, QStringLiteral("png")),
                  QString::fromUtf8(c.Expected))
            << c.Name << " " << c.Entry;
    EXPECT_EQ(NameWithEntryEnding("/p/bare", "All|*", 1, "gif"), QStringLiteral("/p/bare.gif"));
}

// Through Qt's own dialog: the JPEG entry chosen and a bare name typed give a JPEG name, not the default PNG.
TEST(FileDialogSeam, TheRealSaveDialogAddsTheChosenEntrysEnding)
{
    QTemporaryDir dir;
    for (const auto& [entry, expected] : {std::pair{1, "bare.jpg"}, {3, "bare.png"}, {5, "bare.bmp"}}) {
        SCOPED_TRACE(expected);
        tavrin::test::ModalProbe<QFileDialog> probe([entry = entry](QFileDialog& dialog) {
            auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
            auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(combo, nullptr);
            ASSERT_NE(name, nullptr);
            combo->setCurrentIndex(entry - 1);
            emit combo->activated(entry - 1); // as a person's choice in the list
            name->setText("bare");
            QTest::keyClick(name, Qt::Key_Return);
        });
        TQtFileDialogSeam dialogs;
        const TSaveDialogAnswer answer = dialogs.GetSaveFileName(
            nullptr, {QStringLiteral("저장할 파일명을 입력하세요"), SavePictureFilter(), kSavePictureFilterIndexPng,
                      QStringLiteral("png"), dir.filePath("photo")});
        EXPECT_EQ(probe.Seen(), 1);
        EXPECT_EQ(answer.FilterIndex, entry);
        EXPECT_EQ(answer.FileName, dir.filePath(QString::fromUtf8(expected)));
    }
}
