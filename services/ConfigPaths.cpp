#include "services/ConfigPaths.h"

#include "services/MessageSeam.h"

#include <QCoreApplication>

namespace tavrin {

QString FolderOfPath(const QString& path)
{
    // Qt spells paths with "/" on every platform; a backslash may be part of a file name here.
    return path.left(path.lastIndexOf(u'/') + 1);
}

QString ProgramFolder()
{
    return FolderOfPath(QCoreApplication::applicationFilePath());
}

QString php_server(const QString& name, IMessageSeam& messages)
{
    if (name == u"PHP_SELF" || name == u"SCRIPT_FILENAME") return QCoreApplication::applicationFilePath();
    if (name == u"DOCUMENT_ROOT") return ProgramFolder();
    // The misspelling is the text users of this lookup have always seen.
    messages.Show({QString(), QStringLiteral("Unkown Command php_server:") + name});
    return {};
}

} // namespace tavrin
