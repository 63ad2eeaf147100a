#include "services/NameEndings.h"

#include <QFileInfo>

namespace tavrin {

QString FormatEndingOf(const QString& fileName)
{
    if (fileName.right(4).compare(QStringLiteral("jpeg"), Qt::CaseInsensitive) == 0) return QStringLiteral("jpg");
    return fileName.right(3).toLower();
}

QString ShownEndingOf(const QString& fileName)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 ? name.mid(dot) : name.right(3);
}

QString EndingList(const QStringList& extensions)
{
    QStringList endings{QStringLiteral(".JPEG")};
    for (const QString& extension : extensions)
        endings << QStringLiteral(".") + extension.toUpper();
    endings.sort();
    endings.removeDuplicates();
    return endings.join(QStringLiteral(", "));
}

} // namespace tavrin
