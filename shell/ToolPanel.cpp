#include "shell/ToolPanel.h"

#include "dialogs/ColorDialog.h"
#include "editor/FmEditor.h"
#include "services/ColorCodes.h"
#include "shell/ToolPanelParts.h"
#include "shell/ToolPictures.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPixmap>

namespace tavrin {

namespace {

struct TButtonPlace
{
    const char* Name;
    int Left, Top;
    const char* Hint;
};

// Design places of the buttons, in button order; each button's pictures start at 3 × its index.
constexpr TButtonPlace kButtonPlaces[TToolPanel::kButtonCount] = {
    {"ImgBuMouse", 3, 174, "선택해제/이동"},    {"ImgBuRect", 3, 225, "사각툴"},
    {"ImgBuMagnet", 2, 255, "사각툴 자석효과"}, {"ImgBuLinkRect", 2, 303, "이미지맵 사각형"},
    {"ImgBuLinkCircle", 2, 333, "이미지맵 원형"}, {"ImgBuLinkPolygon", 2, 363, "이미지맵 다각형"},
    {"ImgViewPlus", 2, 415, "이미지 확대"},     {"ImgViewMinus", 2, 445, "이미지 축소"},
    {"ImgViewOrg", 2, 475, "원본이미지"},
};

constexpr TColor kInitialGuideSwatch{0x008000}; // green, whatever colour the settings restored
const QString kStartX = QStringLiteral("X : 0");
const QString kStartY = QStringLiteral("Y : 0");

// The button that shows a tool mode as selected; none for modes without one.
int SelectedButtonOf(TToolMode mode)
{
    switch (mode) {
    case TToolMode::tmNone: return TToolPanel::ImgBuMouse;
    case TToolMode::tmSelect: return TToolPanel::ImgBuRect;
    case TToolMode::tmMapPolygon: return TToolPanel::ImgBuLinkPolygon;
    case TToolMode::tmMapRect: return TToolPanel::ImgBuLinkRect;
    case TToolMode::tmMapCircle: return TToolPanel::ImgBuLinkCircle;
    case TToolMode::tmZoomIn: return TToolPanel::ImgViewPlus;
    case TToolMode::tmZoomOut: return TToolPanel::ImgViewMinus;
    }
    return -1;
}

void SetHint(QWidget& w, const QString& hint)
{
    w.setToolTip(hint);
    w.setStatusTip(hint);
}

QLabel* PictureLabel(QWidget* parent, const QImage& picture, int left, int top)
{
    auto* label = new QLabel(parent);
    label->setPixmap(QPixmap::fromImage(picture));
    label->setGeometry(left, top, picture.width(), picture.height());
    return label;
}

QLabel* CoordinateLabel(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(name));
    // Tahoma where it exists; otherwise a narrow face, so that five-digit coordinates fit the strip.
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(9);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->move(left, top);
    label->resize(37 - left, 12);
    return label;
}

void Separator(QWidget* parent, const char* name, int top)
{
    auto* rule = new QFrame(parent);
    rule->setObjectName(QString::fromUtf8(name));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(2, top, 33, 2);
}

} // namespace

TToolPanel::TToolPanel(TEditorSource activeEditor, TColor& dialogColor, QWidget* parent)
    : QWidget(parent), FActiveEditor(std::move(activeEditor)), FDialogColor(dialogColor)
{
    setObjectName(QStringLiteral("PanelToolLeft"));
    setFixedWidth(37);
    setMinimumHeight(500);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    BuildArtwork();
    BuildColorPicker();
    BuildButtons();
    SetDefaultCommands();
}

void TToolPanel::BuildArtwork()
{
    PictureLabel(this, PositionIconPicture(), 8, 3);
    FLabelMouseX = CoordinateLabel(this, "LabelMouseX", kStartX, 4, 24);
    FLabelMouseY = CoordinateLabel(this, "LabelMouseY", kStartY, 3, 37);
    PictureLabel(this, MarkerPicture(), 14, 56);
    Separator(this, "JvGroupHeader1", 96);
    PictureLabel(this, GuideIconPicture(), 10, 107);
    PictureLabel(this, MarkerPicture(), 14, 129);
    Separator(this, "JvGroupHeader2", 163);
    PictureLabel(this, SectionLabelPicture(TToolSection::Cut, 37, 11), 0, 207);
    PictureLabel(this, SectionLabelPicture(TToolSection::Link, 37, 11), 0, 287);
    PictureLabel(this, SectionLabelPicture(TToolSection::View, 38, 11), 0, 399);

    FShapeSelected = new TColorSwatch(clWhite, this);
    FShapeSelected->setObjectName(QStringLiteral("ShapeSelected"));
    FShapeSelected->move(9, 63);
    SetHint(*FShapeSelected, QStringLiteral("색상 코드 복사"));
    FShapeSelected->OnMouseDown = [this] { FPopupMenuColorPicker->popup(QCursor::pos()); };

    FShapeSplitBar = new TColorSwatch(kInitialGuideSwatch, this);
    FShapeSplitBar->setObjectName(QStringLiteral("ShapeSplitBar"));
    FShapeSplitBar->move(9, 136);
    SetHint(*FShapeSplitBar, QStringLiteral("가이드선 색상변경"));
    FShapeSplitBar->OnMouseDown = [this] { ActionSplitColorChangeExecute(); };
}

void TToolPanel::BuildButtons()
{
    for (int i = 0; i < kButtonCount; ++i) {
        const TButtonPlace& place = kButtonPlaces[i];
        auto* button = new TImgButton(3 * i, this);
        button->setObjectName(QString::fromUtf8(place.Name));
        button->move(place.Left, place.Top);
        SetHint(*button, QString::fromUtf8(place.Hint));
        button->OnMouseEnter = [this, button] { LeftButtonMouseEnter(*button); };
        button->OnMouseLeave = [this] { RefreshToolPanel(); };
        button->OnClick = [this, i] {
            if (const auto& click = ButtonClick[static_cast<std::size_t>(i)])
                click();
        };
        if (i >= ImgViewPlus) {
            // The view buttons show their state under the pointer even with no editor window.
            button->OnMouseDown = [button] { button->SetImageIndex(button->Tag() + 2); };
            button->OnMouseUp = [button] { button->SetImageIndex(button->Tag() + 1); };
        }
        FButtons[static_cast<std::size_t>(i)] = button;
    }
}

void TToolPanel::BuildColorPicker()
{
    FPopupMenuColorPicker = new QMenu(this);
    FPopupMenuColorPicker->setObjectName(QStringLiteral("PopupMenuColorPicker"));
    const struct
    {
        const char* Name;
        int Tag;
        const char* Caption;
    } entries[] = {{"PopMenuHtml", 11, "HTML - #000000"},
                   {"PopMenuRGB", 12, "RGB - RGB(0, 0, 0)"},
                   {"PopMenuCPP", 13, "C++ - 0x000000"},
                   {"PopMenuDelphi", 14, "Delphi - clWhite"}};
    for (const auto& entry : entries) {
        QAction* action = FPopupMenuColorPicker->addAction(QString::fromUtf8(entry.Caption));
        action->setObjectName(QString::fromUtf8(entry.Name));
        action->setData(entry.Tag);
        connect(action, &QAction::triggered, this, [this, tag = entry.Tag] { PopMenuColorPickerClick(tag); });
    }
    connect(FPopupMenuColorPicker, &QMenu::aboutToShow, this, [this] { PopupMenuColorPickerPopup(); });
}

void TToolPanel::SetDefaultCommands()
{
    ButtonClick[ImgBuMouse] = [this] { SetTool(TToolMode::tmNone); };
    ButtonClick[ImgBuRect] = [this] { SetTool(TToolMode::tmSelect); };
    ButtonClick[ImgBuMagnet] = [this] {
        if (TFmEditor* editor = ActiveEditor()) {
            editor->SetIsMagnet(!editor->IsMagnet());
            RefreshToolPanel();
        }
    };
    ButtonClick[ImgBuLinkRect] = [this] { SetTool(TToolMode::tmMapRect); };
    ButtonClick[ImgBuLinkCircle] = [this] { SetTool(TToolMode::tmMapCircle); };
    ButtonClick[ImgBuLinkPolygon] = [this] { SetTool(TToolMode::tmMapPolygon); };
    ButtonClick[ImgViewPlus] = [this] { SetTool(TToolMode::tmZoomIn); };
    ButtonClick[ImgViewMinus] = [this] { SetTool(TToolMode::tmZoomOut); };
    ButtonClick[ImgViewOrg] = [this] {
        if (TFmEditor* editor = ActiveEditor())
            editor->ChangeScale(0);
    };
}

void TToolPanel::SetTool(TToolMode mode)
{
    if (TFmEditor* editor = ActiveEditor()) {
        editor->SetToolMode(mode);
        RefreshToolPanel();
    }
}

void TToolPanel::DrawToolButton(TButton button, int index) { Button(button).SetImageIndex(index); }

void TToolPanel::RefreshToolPanel()
{
    const TFmEditor* editor = ActiveEditor();
    if (!editor)
        return;
    const int selected = SelectedButtonOf(editor->GetToolMode());
    for (int i = 0; i < kButtonCount; ++i) {
        TImgButton& button = *FButtons[static_cast<std::size_t>(i)];
        const bool on = i == selected || (i == ImgBuMagnet && editor->IsMagnet());
        button.SetImageIndex(button.Tag() + (on ? 2 : 0));
    }
}

void TToolPanel::LeftButtonMouseEnter(TImgButton& button)
{
    if (ActiveEditor())
        button.SetImageIndex(button.Tag() + 1);
}

void TToolPanel::EditorImgMouseDown()
{
    TFmEditor* editor = ActiveEditor();
    if (!editor)
        return;
    const TPoint down = editor->GetDownPoint();
    FLabelMouseX->setText(QStringLiteral("X : %1").arg(down.X));
    FLabelMouseY->setText(QStringLiteral("Y : %1").arg(down.Y));
    FShapeSelected->SetBrushColor(editor->GetDownColor());
}

void TToolPanel::ShowEditor()
{
    if (ActiveEditor()) {
        RefreshToolPanel();
        EditorImgMouseDown();
        return;
    }
    for (TImgButton* button : FButtons)
        button->SetImageIndex(button->Tag());
    FLabelMouseX->setText(kStartX);
    FLabelMouseY->setText(kStartY);
    FShapeSelected->SetBrushColor(clWhite);
}

void TToolPanel::PopupMenuColorPickerPopup()
{
    const TColor c = FShapeSelected->BrushColor();
    // A press where the picture has no pixel picks no colour: nothing to copy then.
    const bool any = c != clInvalidColor;
    const QList<QAction*> entries = FPopupMenuColorPicker->actions();
    const char* prefixes[] = {"HTML - ", "RGB - ", "C++ - ", "Delphi - "};
    std::string (*const codes[])(TColor) = {ColorToHtmlCode, ColorToRgbCode, ColorToCppCode, ColorToDelphiCode};
    for (int i = 0; i < entries.size() && i < 4; ++i) {
        const QString code = any ? QString::fromStdString(codes[i](c)) : QStringLiteral("색 없음");
        entries[i]->setText(QString::fromUtf8(prefixes[i]) + code);
        entries[i]->setEnabled(any);
    }
}

void TToolPanel::PopMenuColorPickerClick(int tag)
{
    const TColor c = FShapeSelected->BrushColor();
    if (c == clInvalidColor)
        return;
    std::string code;
    switch (tag) {
    case 11: code = ColorToHtmlCode(c); break;
    case 12: code = ColorToRgbCode(c); break;
    case 13: code = ColorToCppCode(c); break;
    case 14: code = ColorToDelphiCode(c); break;
    default: return;
    }
    QApplication::clipboard()->setText(QString::fromStdString(code));
}

void TToolPanel::ActionSplitColorChangeExecute()
{
    TFmEditor* editor = ActiveEditor();
    if (!editor)
        return;
    const std::optional<TColor> chosen = ExecuteColorDialog(window(), FDialogColor);
    if (!chosen)
        return;
    FDialogColor = *chosen;
    // The dialog ran modally: the active editor window may have gone meanwhile.
    if (TFmEditor* still = ActiveEditor())
        still->SetGuideColor(*chosen);
    FShapeSplitBar->SetBrushColor(*chosen);
}

} // namespace tavrin
