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
    QString DefaultExt; // added to a typed name without an ending when the chosen entry names no ending
    QString FileName;   // proposed name
};

// The name chosen (empty: cancelled) and the filter entry current when the dialog closed (1-based). A name
// typed without an ending has the ending of that entry (see NameWithEntryEnding).
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

// `fileName` as a save dialog returns it: a name whose last part has no "." takes the ending of the
// first pattern of entry `entry` (1-based) of `platformFilter` ("*.jpg" gives ".jpg"), or `defaultExt`
// when that entry names none; any other name is returned unchanged.
QString NameWithEntryEnding(const QString& fileName, const QString& platformFilter, int entry,
                            const QString& defaultExt);

} // namespace tavrin
