#include "shell/DropFilter.h"

namespace tavrin {

namespace {

// "\" and ":" end a folder or drive part of a name; "/" does so on this platform too.
bool IsPathSeparator(QChar c)
{
    return c == u'\\' || c == u':' || c == u'/';
}

// The text from the last "." to the end, or empty when a separator follows that dot (or there is none).
QString ExtensionOf(const QString& name)
{
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (name[i] == u'.') return name.mid(i);
        if (IsPathSeparator(name[i])) break;
    }
    return {};
}

} // namespace

QString AsciiUpper(const QString& text)
{
    QString result = text;
    for (QChar& c : result)
        if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
    return result;
}

QStringList NormalizeDropFilter(const QStringList& entries)
{
    QStringList result;
    for (const QString& entry : entries)
        if (!entry.isEmpty()) result.append(AsciiUpper(entry));
    return result;
}

bool AcceptsDropName(const QString& name, const QStringList& filter, bool allExt)
{
    if (allExt) return true;
    if (filter.isEmpty()) return false;
    const QString extension = ExtensionOf(AsciiUpper(name));
    if (extension.isEmpty()) return false;
    for (const QString& entry : filter)
        if (extension.size() == entry.size() + 1 && extension.endsWith(entry)) return true;
    return false;
}

} // namespace tavrin
