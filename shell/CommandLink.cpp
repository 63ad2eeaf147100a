#include "shell/CommandLink.h"

#include "shell/Commands.h"

#include <QAction>
#include <QMenu>

namespace tavrin {

QAction* AddLinkedItem(QMenu& menu, QAction& command, const TLinkedItem& item, const QIcon& picture)
{
    const QString caption = QString::fromUtf8(item.Caption);
    const QString hint = QString::fromUtf8(item.Hint);
    if (caption.isEmpty() && hint.isEmpty() && picture.isNull() && !item.Checkable) {
        menu.addAction(&command);
        return &command;
    }
    auto* entry = new QAction(&menu);
    entry->setObjectName(QString::fromUtf8(item.Name));
    QString text = caption.isEmpty() ? command.text() : caption;
    // QMenu shows the text after a tab as the shortcut column.
    if (!command.shortcut().isEmpty())
        text += QStringLiteral("\t") + command.shortcut().toString(QKeySequence::NativeText);
    entry->setText(text);
    entry->setIcon(picture);
    if (hint.isEmpty()) {
        entry->setToolTip(command.toolTip());
        entry->setStatusTip(command.statusTip());
    } else {
        const THintParts parts = SplitHint(hint);
        entry->setToolTip(parts.Short);
        entry->setStatusTip(parts.Long);
    }
    entry->setEnabled(command.isEnabled());
    QObject::connect(&command, &QAction::enabledChanged, entry, &QAction::setEnabled);
    if (item.Checkable) {
        entry->setCheckable(true);
        // The command decides the mark: undo the toggle the toolkit made before the command runs.
        QObject::connect(entry, &QAction::triggered, &command, [entry, &command] {
            entry->setChecked(!entry->isChecked());
            command.trigger();
        });
    } else {
        QObject::connect(entry, &QAction::triggered, &command, [&command] { command.trigger(); });
    }
    menu.addAction(entry);
    return entry;
}

QString CaptionOf(const QAction& entry)
{
    const QString text = entry.text();
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

} // namespace tavrin
