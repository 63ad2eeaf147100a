#pragma once
// The one way the program asks for files to open, so tests can answer instead of a person.

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace tavrin {

class IFileDialogSeam
{
public:
    virtual ~IFileDialogSeam() = default;
    // Several files may be chosen; an empty list means the dialog was cancelled.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) = 0;
};

// Gives the toolkit's own open dialog a picture preview beside the file list (scaled picture and its size
// in pixels) and a size at which the list's columns read whole.
void DecorateOpenDialog(QFileDialog& dialog);

// The toolkit's open dialog with a picture preview, resizable, without a read-only option.
class TQtFileDialogSeam final : public IFileDialogSeam
{
public:
    QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) override;
};

} // namespace tavrin
