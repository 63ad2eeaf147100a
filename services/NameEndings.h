#pragma once
// How a file's name picks the reader or writer of its format, and how its ending is shown in messages.

#include <QString>
#include <QStringList>

namespace tavrin {

// The ending that picks the format: the name's last three characters in lower case, except that a name
// ending in "jpeg" (any case) is a JPEG ("jpg"), as the desktop and the save dialog's JPEG entry have it.
QString FormatEndingOf(const QString& fileName);

// The ending as a person sees it: from the last dot of the file's name, else its last three characters.
QString ShownEndingOf(const QString& fileName);

// ".JPEG" and each of `extensions` upper-cased after a dot, sorted, without repeats, joined by ", ".
QString EndingList(const QStringList& extensions);

} // namespace tavrin
