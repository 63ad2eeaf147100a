#include "shell/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace tavrin {

void ShellOpen(const QString& target, const QString& parameters)
{
    QUrl url = QUrl::fromUserInput(target);
    if (!parameters.isEmpty())
        url.setQuery(parameters);
    // Starts the desktop's helper detached: the call returns at once.
    QDesktopServices::openUrl(url);
}

} // namespace tavrin
