#pragma once
// Menu entries linked to a command. An entry that shows the command as it is adds the command's own
// action. An entry with a caption, hint or picture of its own is an action of its own that runs the
// command, follows its enabled state and shows its shortcut without owning it (the shortcut stays with
// the command, so a key never matches two actions).

#include <QIcon>
#include <QString>

class QAction;
class QMenu;

namespace tavrin {

struct TLinkedItem
{
    const char* Name;          // object name of the entry
    const char* Caption = "";  // empty: the command's own
    const char* Hint = "";     // empty: the command's own
    int Picture = -1;          // index into the menu's picture list, -1 for none
    bool Checkable = false;    // the entry owns a check mark, which the command sets
};

// Adds the entry for `command` to `menu` and returns it.
QAction* AddLinkedItem(QMenu& menu, QAction& command, const TLinkedItem& item, const QIcon& picture = {});

// The caption of a menu entry without the shortcut text shown after a tab.
QString CaptionOf(const QAction& entry);

} // namespace tavrin
