#pragma once
// The one way the program asks for files to open or a name to save under, so tests can answer instead of
// a person.

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace tavrin {

// What a save dialog shows. Filter is in the platform's "description|pattern|description|pattern" form;
// FilterIndex counts its entries from 1.
struct TSaveDialogRequest
{
    QString Title;
    QString Filter;
    int FilterIndex = 1;
    QString DefaultExt; // added to a typed name that has no extension
    QString FileName;   // proposed name
};

// The name chosen (empty: cancelled) and the filter entry current when the dialog closed (1-based).
struct TSaveDialogAnswer
{
    QString FileName;
    int FilterIndex = 1;
};

class IFileDialogSeam
{
public:
    virtual ~IFileDialogSeam() = default;
    // Several files may be chosen; an empty list means the dialog was cancelled.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) = 0;
    // One name to save under. The dialog does not ask before replacing a file: the caller does.
    virtual TSaveDialogAnswer GetSaveFileName(QWidget* owner, const TSaveDialogRequest& request) = 0;
};

// Gives the toolkit's own open dialog a picture preview beside the file list (scaled picture and its size
// in pixels) and a size at which the list's columns read whole.
void DecorateOpenDialog(QFileDialog& dialog);

// The toolkit's dialogs: the open dialog with a picture preview; both resizable, without a read-only
// option.
class TQtFileDialogSeam final : public IFileDialogSeam
{
public:
    QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) override;
    TSaveDialogAnswer GetSaveFileName(QWidget* owner, const TSaveDialogRequest& request) override;
};

// The platform filter "description|pattern|..." as Qt name filters that show the descriptions unchanged
// and match the patterns (";"-separated patterns included).
QStringList QtNameFilters(const QString& platformFilter);

// The 1-based entry of `platformFilter` that Qt's dialog reports as chosen (it reports the shown text, or
// the whole Qt filter); 1 when none matches.
int FilterEntryOf(const QString& platformFilter, const QString& selectedNameFilter);

} // namespace tavrin
