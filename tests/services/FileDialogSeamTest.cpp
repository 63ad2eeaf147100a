#include "services/FileDialogSeam.h"
#include "services/ImgFunSave.h"

#include <QComboBox>
#include <QFileDialog>

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
