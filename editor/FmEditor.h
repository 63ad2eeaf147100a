#pragma once
// TFmEditor: the child window that shows one picture. It owns the image view and the editor
// document, frames the view with four rulers, and turns pointer, wheel and key input into document
// operations according to the chosen tool. The main window drives it through the published
// operations below and follows it through the notifications.

#include "core/Color.h"
#include "core/Geometry.h"
#include "core/ImgEditor.h"
#include "core/Input.h"
#include "core/LayerKinds.h"

#include <QWidget>

#include <functional>
#include <memory>

class QImage;
class QLabel;
class QMenu;
class QScrollArea;

namespace tavrin {

class IFileDialogSeam;
class IMessageSeam;
class TCustomLayer;
class TEditorPopupMenu;
class TImage32;
class TRsRuler;
class TFmSaveSlices;

// True for a web address ("scheme://..."), as a dropped link gives, rather than a file name.
bool IsWebAddress(const QString& name);
// The caption for a name: for a web address the text after its last ":" ("http://h.kr/a.gif" gives
// "//h.kr/a.gif"); for a file name the text after the last "/", "\" or ":".
QString FilePartOfName(const QString& name);

class TFmEditor : public QWidget
{
    Q_OBJECT
public:
    // `messages` shows the close question; it must outlive the window.
    explicit TFmEditor(IMessageSeam& messages, QWidget* parent = nullptr);
    ~TFmEditor() override;

    // Links the window to its tab in the main window: both carry the same positive number.
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    // --- published operations ---
    void SetToolMode(TToolMode mode);
    TToolMode GetToolMode() const { return FImgEditor->FChosenTool; }
    void SetGuideColor(TColor color) { FImgEditor->FGuideColor = color; }
    void SetViewSelected(bool value) { FImgEditor->SetViewSelected(value); }
    bool IsMagnet() const { return FImgEditor->FIsMagnet; }
    void SetIsMagnet(bool value) { FImgEditor->FIsMagnet = value; }
    void ChangeScale(float step);
    int GetScalePercent() const;
    TPoint GetDownPoint() const { return FImgEditor->FDownPos; }
    TPoint GetMousePos() const;
    TColor GetMouseColor() const;
    TColor GetDownColor() const;
    void DeleteLayer() { FImgEditor->DeleteLastLayer(); }
    void DeleteAllGuides();
    void DeleteAllSelections() { FImgEditor->DeleteLayersOfKind(lkSelection); }
    void NewImage(int width, int height);
    // Loads the picture, or returns false with the reason in `error` and leaves the window as it was.
    bool LoadFromFile(const QString& fileName, QString* error = nullptr);

    // Opens the area tag dialog for the document's FTagArea (the area last pressed), if there is one.
    void EditAreaTag();
    // Shows the img element and the whole map of the picture, ready to copy.
    void ShowAllTags();
    // Shows the transparent GIF dialog, modally, on the selected region.
    void SaveTransparentGif();

    // Saves every piece of the guide grid at once, with a page that reassembles them when asked for.
    void SaveAllPieces();
    // Shows the pieces dialog; true when it was confirmed. Tests replace it to answer in its place.
    std::function<bool(TFmSaveSlices&)> RunSlicesDialog;

    // Asks the close question when the picture did not come from a file; true lets the close go on.
    bool CloseQuery();

    // Saves the region bitmap under a name asked in the save dialog (FmEditorExport.cpp).
    void SaveSelection();
    // Puts the region bitmap on the clipboard; an empty region leaves the clipboard alone.
    void CopySelection();
    // Replaces the picture with the one on the clipboard, after asking; layers, caption, file name and
    // zoom stay.
    void PasteImage();
    // The dialogs SaveSelection asks through; the platform's until set. Must outlive the window.
    void SetFileDialogs(IFileDialogSeam& dialogs) { FFileDialogs = &dialogs; }

    // --- notifications (sender only) ---
    std::function<void(TFmEditor&)> OnImgMouseDown;
    std::function<void(TFmEditor&)> OnChangeMousePosition;
    std::function<void(TFmEditor&)> OnChangeScal;

    // --- access for the main window, the dialogs and tests ---
    TImgEditor& Document() { return *FImgEditor; }
    TImage32& Image() const { return *FImage; }
    QScrollArea& ScrollBox() const { return *FScrollBox; }
    TRsRuler& RulerTop() const { return *FRulerTop; }
    TRsRuler& RulerBottom() const { return *FRulerBottom; }
    TRsRuler& RulerLeft() const { return *FRulerLeft; }
    TRsRuler& RulerRight() const { return *FRulerRight; }
    TEditorPopupMenu& PopupMenu() const { return *FPopupMenu; }
    TPoint PopupPoint() const { return {FPopupX, FPopupY}; }

    // The image handlers, public because the rulers and tests call them directly.
    void ImageMouseDown(TMouseButton button, TShiftState shift, int x, int y, TCustomLayer* layer);
    void ImageMouseMove(TShiftState shift, int x, int y, TCustomLayer* layer);
    void ImageMouseUp(TMouseButton button, TShiftState shift, int x, int y, TCustomLayer* layer);
    void ImageDblClick();
    void ImageMouseLeave();
    void ScrollBoxMouseDown();
    void UpdateImageSize();
    void UpdateRulerOffsets();

    // The context menu's handlers (FmEditorPopup.cpp).
    void PMIImgMapClick() { EditAreaTag(); }
    void PMImageClick();
    void PMISaveGifClick() { SaveTransparentGif(); }
    void MMICancelClick() { FImgEditor->DeleteLastLayer(); }
    // Copies the colour of the pixel under the last right press as the code of `tag` (51 to 54).
    void PMColorCopyClick(int tag);
    // The selected region's pixels for its preview, read in place where possible.
    QImage RegionImage() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class TPressed { None, Left, Right };

    void BuildLayout();
    void TapViewEvents();
    void BuildPopupMenu();
    void SetUpRulers();
    void ConnectRuler(TRsRuler& ruler, bool horizontalGuide, bool farEdge);
    void RulerMouseMove(TRsRuler& ruler, TShiftState shift, int x, int y);
    void PressAct(TShiftState shift, int x, int y, TCustomLayer* layer);
    void MoveAct(int x, int y, TCustomLayer* layer);
    void Nudge(int dx, int dy) { FImgEditor->MoveLayerBy(FImgEditor->FCurrentLayer, dx, dy); }
    void ToggleZoomTool();
    TColor ColorAtImage(int x, int y) const;
    QPoint ScreenPos(int viewX, int viewY) const;

    IMessageSeam& FMessages;
    IFileDialogSeam* FFileDialogs = nullptr;
    int FSaveFilterIndex = 0; // the save dialog's entry, kept between saves as the dialog keeps it
    std::unique_ptr<TImgEditor> FImgEditor; // owned; declared before the view so it goes last
    QWidget* FPanelWindow = nullptr;
    QLabel* FPanelTopLeft = nullptr;
    TRsRuler* FRulerTop = nullptr;
    TRsRuler* FRulerBottom = nullptr;
    TRsRuler* FRulerLeft = nullptr;
    TRsRuler* FRulerRight = nullptr;
    QScrollArea* FScrollBox = nullptr;
    QWidget* FScrollContent = nullptr; // holds the image at (2, 0)
    TImage32* FImage = nullptr;
    TEditorPopupMenu* FPopupMenu = nullptr;

    TPressed FPressedButton = TPressed::None;
    TCursor FToolCursor = TCursor::crDefault;
    int FPanAnchorX = 0;
    int FPanAnchorY = 0;
    int FPopupX = 0;
    int FPopupY = 0;
    int FMouseX = 0;
    int FMouseY = 0;
    int FWheelDelta = 0;
    int FTag = 0;
};

} // namespace tavrin
