#include "services/ToolkitTranslation.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>

using namespace tavrin;

namespace {

bool HasHangul(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0xAC00 && c.unicode() <= 0xD7A3; });
}

} // namespace

// The toolkit's buttons and dialogs speak Korean once the translation is loaded, whatever the locale.
TEST(ToolkitTranslation, MessageBoxButtonsAndFileDialogTextsAreKorean)
{
    ASSERT_TRUE(LoadToolkitKorean(*QCoreApplication::instance()))
        << "the toolkit's Korean translation (qt6-translations-l10n) is not installed";
    QMessageBox box(QMessageBox::Question, QString(), QString(), QMessageBox::Yes | QMessageBox::No);
    for (const QString& text : {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                                QCoreApplication::translate("QFileDialog", "Look in:"),
                                QCoreApplication::translate("QFileDialog", "File &name:"),
                                QCoreApplication::translate("QWidgetTextControl", "&Copy")})
        EXPECT_TRUE(HasHangul(text)) << text.toStdString();
}
