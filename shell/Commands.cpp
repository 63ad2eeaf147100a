// The command table and the handlers behind it.
#include "shell/Commands.h"

#include "editor/FmEditor.h"
#include "services/Config.h"
#include "shell/MainForm.h"
#include "shell/ToolPanel.h"
#include "shell/WindowArrange.h"

#include <QAction>
#include <QKeySequence>
#include <QMdiArea>

namespace tavrin {

namespace {

// Runs `op` on the active editor window; without one the command does nothing.
template <typename Op> void OnEditor(TMainForm& form, Op op)
{
    if (TFmEditor* editor = form.ActiveEditor())
        op(*editor);
}

// Tool commands: the chosen tool goes to the active editor, and the tool panel follows at once.
template <TToolMode Mode> void ChooseTool(TMainForm& form)
{
    OnEditor(form, [&form](TFmEditor& e) {
        e.SetToolMode(Mode);
        emit form.Commands().ToolModeSet();
    });
}

void ToggleMagnet(TMainForm& form)
{
    OnEditor(form, [&form](TFmEditor& e) {
        e.SetIsMagnet(!e.IsMagnet());
        emit form.Commands().ToolModeSet();
    });
}

// The check mark belongs to the View menu's entry; the command inverts it, stores it and hands it to
// the active editor. It works without an editor window: the next one brought forward takes the option.
void ToggleViewSelected(TMainForm& form)
{
    const bool on = !form.MMIViewSelected->isChecked();
    form.MMIViewSelected->setChecked(on);
    form.Config().UseViewSelected = on;
    OnEditor(form, [on](TFmEditor& e) { e.SetViewSelected(on); });
}

constexpr int Ctrl(Qt::Key key) { return (Qt::CTRL | key).toCombined(); }

using enum TCommandId;

const std::array<TCommandDef, kCommandCount> kTable{{
    {FileNew, "ActionFileNew", "새 이미지(&N)", "New|Create a new file", Ctrl(Qt::Key_N),
     [](TMainForm& f) { f.FileNewExecute(); }},
    {FileOpen, "ActionFileOpen", "&Open", "Open|Open a file", Ctrl(Qt::Key_O),
     [](TMainForm& f) { f.ActionFileOpenExecute(); }},
    {FileExit, "ActionFileExit", "E&xit", "Exit|Exit application", 0, [](TMainForm& f) { f.close(); }},
    {ImgCopy, "ActionImgCopy", "이미지 복사(&C)", "", Ctrl(Qt::Key_C),
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.CopySelection(); }); }},
    {ImgPaste, "ActionImgPaste", "이미지 붙여넣기(&P)", "Paste|Inserts Clipboard contents", Ctrl(Qt::Key_V),
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.PasteImage(); }); }},
    {ImgLayerDelete, "ActionImgLayerDelete", "가이드 라인 삭제", "", Ctrl(Qt::Key_D),
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.DeleteLayer(); }); }},
    {ImgGuideDelAll, "ActionImgGuideDelAll", "가이드선 모두 삭제", "가이드선 모두 삭제", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.DeleteAllGuides(); }); }},
    {ImgSelectDelAll, "ActionImgSelectDelAll", "사각 선택툴 모두 삭제", "사각 선택툴 모두 삭제", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.DeleteAllSelections(); }); }},
    {ImgPlus, "ActionImgPlus", "이미지 확대(&P)", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.ChangeScale(0.1f); }); }},
    {ImgMinus, "ActionImgMinus", "이미지 축소(&M)", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.ChangeScale(-0.1f); }); }},
    {ImgOrg, "ActionImgOrg", "원본 이미지(&O)", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.ChangeScale(0); }); }},
    {ImgViewSelected, "ActionImgViewSelected", "선택영역 보기(&V)", "", 0, ToggleViewSelected},
    {ImgSelect, "ActionImgSelect", "영역 선택툴(&S)", "영역 선택툴", 0, ChooseTool<TToolMode::tmSelect>},
    {ImgNone, "ActionImgNone", "기능 끄기", "", 0, ChooseTool<TToolMode::tmNone>},
    {ImgMapRect, "ActionImgMapRect", "이미지맵 사각형", "이미지맵 사각형", 0, ChooseTool<TToolMode::tmMapRect>},
    {ImgMapCircle, "ActionImgMapCircle", "이미지맵 원형", "이미지맵 원형", 0, ChooseTool<TToolMode::tmMapCircle>},
    {ImgMapPolygon, "ActionImgMapPolygon", "이미지맵 다각형", "이미지맵 다각형", 0,
     ChooseTool<TToolMode::tmMapPolygon>},
    {Magnet, "ActionMagnet", "선택툴 자석효과", "", 0, ToggleMagnet},
    {ImgSave, "ActionImgSave", "선택 이미지 저장", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.SaveSelection(); }); }},
    {ImgSaveGif, "ActionImgSaveGif", "투명 &GIF 저장", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.SaveTransparentGif(); }); }},
    {ImgSaveAllPieces, "ActionImgSaveAllPieces", "조각 모두 저장",
     "조각 모두 저장|가이드선으로 나뉜 조각을 모두 저장하고 다시 맞춰 보여 주는 HTML 페이지를 만듭니다", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.SaveAllPieces(); }); }},
    {ImgMapTag, "ActionImgMapTag", "이미지맵 전체 태그 보기", "", 0,
     [](TMainForm& f) { OnEditor(f, [](TFmEditor& e) { e.ShowAllTags(); }); }},
    {SplitColorChange, "ActionSplitColorChange", "가이드선 색상 변경", "", 0,
     [](TMainForm& f) { f.ToolPanel().ActionSplitColorChangeExecute(); }},
    {WindowCascade, "WindowCascade1", "계단형(&C)", "Cascade", 0, [](TMainForm& f) { CascadeEditors(f.MdiArea()); }},
    {WindowTileHorizontal, "WindowTileHorizontal1", "수평(&H)", "Tile Horizontally", 0,
     [](TMainForm& f) { TileEditorsHorizontally(f.MdiArea()); }},
    {WindowTileVertical, "WindowTileVertical1", "수직(&V)", "Tile Vertically", 0,
     [](TMainForm& f) { TileEditorsVertically(f.MdiArea()); }},
    {WindowMinimizeAll, "WindowMinimizeAll1", "&Minimize All", "Minimize All", 0,
     [](TMainForm& f) { MinimizeAllEditors(f.MdiArea()); }},
    {WindowClose, "WindowClose", "닫기(&C)", "닫기", 0, [](TMainForm& f) { f.PMICloseClick(); }},
    {ColorChange, "MMIColorChange", "가이드선 색상 변경(&C)", "", 0,
     [](TMainForm& f) { f.Commands()[SplitColorChange].trigger(); }},
    {Tip, "MMTip", "오늘의 팁(&T)", "", 0, [](TMainForm& f) { f.MMTipClick(); }},
    {HomePage, "MMIHomePage", "홈페이지(&H)", "", 0, [](TMainForm& f) { f.MMIHomePageClick(); }},
    {About, "MIAbout", "TAVRIN 정보(&A)", "", 0, [](TMainForm& f) { f.MIAboutClick(); }},
}};

} // namespace

THintParts SplitHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

const std::array<TCommandDef, kCommandCount>& TCommands::Table() { return kTable; }

const TCommandDef& TCommands::Def(TCommandId id) { return kTable[static_cast<std::size_t>(id)]; }

TCommands::TCommands(TMainForm& form) : QObject(&form)
{
    for (std::size_t i = 0; i < kTable.size(); ++i) {
        const TCommandDef& def = kTable[i];
        Q_ASSERT(static_cast<std::size_t>(def.Id) == i);
        auto* action = new QAction(QString::fromUtf8(def.Caption), &form);
        action->setObjectName(QString::fromUtf8(def.Name));
        const THintParts hint = SplitHint(QString::fromUtf8(def.Hint));
        action->setToolTip(hint.Short);
        action->setStatusTip(hint.Long);
        if (def.Shortcut != 0) {
            action->setShortcut(QKeySequence(QKeyCombination::fromCombined(def.Shortcut)));
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (def.Run)
            connect(action, &QAction::triggered, &form, [run = def.Run, &form] { run(form); });
        form.addAction(action);
        FActions[i] = action;
    }
}

QAction* TCommands::Find(QStringView name) const
{
    for (QAction* action : FActions)
        if (action->objectName() == name)
            return action;
    return nullptr;
}

void TCommands::UpdateWindowCommands(bool anyEditor, bool activeEditor)
{
    for (TCommandId id : {WindowCascade, WindowTileHorizontal, WindowTileVertical, WindowMinimizeAll})
        (*this)[id].setEnabled(anyEditor);
    (*this)[WindowClose].setEnabled(activeEditor);
}

} // namespace tavrin
