#pragma once
// The extension filter of the drop target: which dropped file names it takes.

#include <QString>
#include <QStringList>

namespace tavrin {

// Upper case for the letters a to z only; every other character stays as it is.
QString AsciiUpper(const QString& text);

// The filter as it is stored: each non-empty entry upper-cased, empty entries dropped.
QStringList NormalizeDropFilter(const QStringList& entries);

// `filter` must be normalised. With `allExt` every name is taken; otherwise the name's extension
// (from its last ".", unless a folder separator or drive colon follows that dot) must equal "." and
// one of the entries, compared after upper-casing the name.
bool AcceptsDropName(const QString& name, const QStringList& filter, bool allExt);

} // namespace tavrin
