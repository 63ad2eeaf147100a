// Opening pictures, dropping them, and making new blank ones.
#include "shell/MainForm.h"

#include "ImgLib/PictureFormats.h"
#include "ImgLib/PixelBudget.h"
#include "editor/FmEditor.h"
#include "services/FileDialogSeam.h"
#include "services/MessageSeam.h"
#include "shell/Readouts.h"

#include <QLocale>

namespace tavrin {

void TMainForm::ReportError(const QString& text)
{
    FServices.Messages.Show(TMessage(QString(), text, TMsgIcon::Error, TMsgButton::Ok, TMsgButton::Ok, this));
}

QString TMainForm::OpenDialogFilter() const
{
    QStringList entries;
    for (const TPictureFilterEntry& entry : PictureFormats().FilterEntries()) {
        // The toolkit reads the patterns from the last parentheses, separated by spaces.
        QString text = QString::fromStdString(entry.Text);
        const qsizetype open = text.lastIndexOf(QStringLiteral(" ("));
        if (open >= 0)
            text.truncate(open);
        entries << QStringLiteral("%1 (%2)").arg(text, QString::fromStdString(entry.Pattern).replace(u';', u' '));
    }
    return entries.join(QStringLiteral(";;"));
}

bool TMainForm::OpenImageFile(const QString& fileName)
{
    NewEditor();
    TFmEditor* editor = ActiveEditor();
    if (!editor)
        return false;
    QString error;
    if (!editor->LoadFromFile(fileName, &error)) {
        ReportError(error);
        return false; // the new window stays, empty, under its number
    }
    SyncTab(*editor);
    ShowReadouts(*FToolPanel, *FStatusBar); // the colours read out come from the new picture
    return true;
}

void TMainForm::ActionFileOpenExecute()
{
    const QStringList files =
        FServices.FileDialogs.GetOpenFileNames(this, QStringLiteral("이미지 열기"), OpenDialogFilter());
    for (const QString& file : files)
        if (!OpenImageFile(file))
            return; // the rest of the selection is not opened
}

void TMainForm::BK_DragDragDropFile(const QStringList& files)
{
    for (const QString& file : files)
        if (!OpenImageFile(file))
            return;
}

void TMainForm::FileNewExecute()
{
    const std::optional<TImageSize> size = AskImageSize ? AskImageSize() : std::nullopt;
    if (!size)
        return; // cancelled: no window, no number used
    const auto [width, height] = *size;
    if (width > 0 && height > 0 && !FitsPixelBudget(width, height)) {
        const QLocale locale;
        ReportError(QStringLiteral("그림이 너무 큽니다. %1 × %2 화소는 이 프로그램이 다룰 수 있는 %3 화소를 넘습니다.")
                        .arg(locale.toString(width), locale.toString(height), locale.toString(kPixelBudget)));
        return;
    }
    NewEditor();
    if (TFmEditor* editor = ActiveEditor()) {
        editor->NewImage(width, height); // 0 or less gives an empty picture
        ShowReadouts(*FToolPanel, *FStatusBar);
    }
}

} // namespace tavrin
