#pragma once
// TToolPanel (`PanelToolLeft`): the white strip along the main window's left edge. It shows the last
// pressed point and the colour picked there (a swatch that copies the colour as code), the guide
// colour, and nine picture buttons for the tools of the active editor window, each drawn in one of
// three pictures: normal, hover, selected.

#include "core/Color.h"
#include "core/LayerKinds.h"

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QMenu;

namespace tavrin {

class TColorSwatch;
class TFmEditor;
class TImgButton;

class TToolPanel : public QWidget
{
    Q_OBJECT
public:
    enum TButton : int {
        ImgBuMouse,
        ImgBuRect,
        ImgBuMagnet,
        ImgBuLinkRect,
        ImgBuLinkCircle,
        ImgBuLinkPolygon,
        ImgViewPlus,
        ImgViewMinus,
        ImgViewOrg,
    };
    static constexpr int kButtonCount = 9;

    using TEditorSource = std::function<TFmEditor*()>;

    // `activeEditor` names the main window's active editor window (or none). `dialogColor` is the
    // colour dialog's colour, which the guide-colour change starts from and sets; it must outlive
    // the panel.
    TToolPanel(TEditorSource activeEditor, TColor& dialogColor, QWidget* parent = nullptr);

    TFmEditor* ActiveEditor() const { return FActiveEditor(); }

    // Redraws the nine buttons from the active editor's tool and magnet; with none, keeps them.
    void RefreshToolPanel();
    void DrawToolButton(TButton button, int index);

    // Read-out of a left press on the active editor's picture.
    void EditorImgMouseDown();
    // The tool and last press of the editor window brought forward; with none, the pictures, labels and
    // swatch of the start.
    void ShowEditor();
    // Changes the active editor's guide colour through the colour dialog; nothing without one.
    void ActionSplitColorChangeExecute();

    // What each button's click runs. By default the tool commands on the active editor window;
    // the main window may route them through its own commands instead.
    std::array<std::function<void()>, kButtonCount> ButtonClick;

    // --- parts, for the main window and tests ---
    TImgButton& Button(TButton button) const { return *FButtons[static_cast<std::size_t>(button)]; }
    QLabel& LabelMouseX() const { return *FLabelMouseX; }
    QLabel& LabelMouseY() const { return *FLabelMouseY; }
    TColorSwatch& ShapeSelected() const { return *FShapeSelected; }
    TColorSwatch& ShapeSplitBar() const { return *FShapeSplitBar; }
    QMenu& PopupMenuColorPicker() const { return *FPopupMenuColorPicker; }

private:
    void BuildArtwork();
    void BuildButtons();
    void BuildColorPicker();
    void SetDefaultCommands();
    void SetTool(TToolMode mode);
    void LeftButtonMouseEnter(TImgButton& button);
    void PopupMenuColorPickerPopup();
    void PopMenuColorPickerClick(int tag);

    TEditorSource FActiveEditor;
    TColor& FDialogColor;
    std::array<TImgButton*, kButtonCount> FButtons{};
    QLabel* FLabelMouseX = nullptr;
    QLabel* FLabelMouseY = nullptr;
    TColorSwatch* FShapeSelected = nullptr;
    TColorSwatch* FShapeSplitBar = nullptr;
    QMenu* FPopupMenuColorPicker = nullptr;
};

} // namespace tavrin
