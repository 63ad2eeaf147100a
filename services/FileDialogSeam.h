#pragma once
// The one way the program asks for files to open, so tests can answer instead of a person.

#include <QString>
#include <QStringList>

class QWidget;

namespace tavrin {

class IFileDialogSeam
{
public:
    virtual ~IFileDialogSeam() = default;
    // Several files may be chosen; an empty list means the dialog was cancelled.
    virtual QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) = 0;
};

// The platform's open dialog, resizable, without a read-only option.
class TQtFileDialogSeam final : public IFileDialogSeam
{
public:
    QStringList GetOpenFileNames(QWidget* owner, const QString& title, const QString& filter) override;
};

} // namespace tavrin
