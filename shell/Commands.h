#pragma once
// TCommands: every command of the main window, each one QAction made once from the command table
// (name, caption with its accelerator, hint "short|long", shortcut, handler). Menus, the header tool
// bar, its drop-down menus and the tool panel only refer to these actions; entries that carry a caption
// of their own are linked items (CommandLink.h) that run the command.

#include <QObject>

#include <array>
#include <cstddef>

class QAction;
class QWidget;

namespace tavrin {

class TMainForm;

enum class TCommandId
{
    FileNew,
    FileOpen,
    FileExit,
    ImgCopy,
    ImgPaste,
    ImgLayerDelete,
    ImgGuideDelAll,
    ImgSelectDelAll,
    ImgPlus,
    ImgMinus,
    ImgOrg,
    ImgViewSelected,
    ImgSelect,
    ImgNone,
    ImgMapRect,
    ImgMapCircle,
    ImgMapPolygon,
    Magnet,
    ImgSave,
    ImgSaveGif,
    ImgSaveAllPieces,
    ImgMapTag,
    SplitColorChange,
    WindowCascade,
    WindowTileHorizontal,
    WindowTileVertical,
    WindowMinimizeAll,
    WindowClose,
    ColorChange, // the Tools menu's guide-colour entry
    Tip,
    HomePage,
    About,
};
inline constexpr std::size_t kCommandCount = static_cast<std::size_t>(TCommandId::About) + 1;

// One row of the command table.
struct TCommandDef
{
    TCommandId Id;
    const char* Name;    // the action's object name
    const char* Caption; // "&" marks the accelerator
    const char* Hint;    // "short|long"; without "|" both parts are the same
    int Shortcut;        // a Qt key combination, 0 for none
    void (*Run)(TMainForm& form);
};

// The short and long part of a hint.
struct THintParts
{
    QString Short;
    QString Long;
};
THintParts SplitHint(const QString& hint);

class TCommands : public QObject
{
    Q_OBJECT
public:
    // Makes every action, owned by `form`, and adds it to `form` so that its shortcut belongs to the main
    // window and is handled before the active editor window sees the key.
    explicit TCommands(TMainForm& form);

    static const std::array<TCommandDef, kCommandCount>& Table();
    static const TCommandDef& Def(TCommandId id);

    QAction& operator[](TCommandId id) const { return *FActions[static_cast<std::size_t>(id)]; }
    // The action of that object name, or none.
    QAction* Find(QStringView name) const;

    // The five window commands follow the frame: arranging needs an editor window, closing an active one.
    void UpdateWindowCommands(bool anyEditor, bool activeEditor);

signals:
    // A tool command has set the active editor's tool: the tool panel follows at once.
    void ToolModeSet();

private:
    std::array<QAction*, kCommandCount> FActions{}; // owned by the main window
};

} // namespace tavrin
