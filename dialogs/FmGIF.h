#pragma once
// TFmGIF: saves the selected region as a GIF in which one colour is transparent. The picture is reduced to
// the halftone palette and shown exactly as it will be saved; a press on it chooses the colour that becomes
// transparent (the top-left pixel's until then). Each save optimises the colour table, marks the first
// used entry of the chosen colour transparent and writes a GIF89a file; the dialog stays open for more.
//
//   TFmGIF dlg(messages, owner);
//   dlg.SetImage(regionBitmap);
//   dlg.exec();

#include "ImgLib/GifIndexedWriter.h"
#include "core/Bitmap32.h"
#include "core/Color.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace tavrin {

class IMessageSeam;
class TColorShape;
class TGifPreview;

// The picture to save: one paletted image and its only extension, the transparent entry.
struct TGifPicture
{
    TIndexedImage Image;
    std::optional<std::uint8_t> TransparentIndex;
};

class TFmGIF : public QDialog
{
    Q_OBJECT
  public:
    // `messages` shows the questions and errors; it must outlive the dialog.
    explicit TFmGIF(IMessageSeam& messages, QWidget* owner = nullptr);
    ~TFmGIF() override;

    // Called once before the dialog is shown. A region of width or height 0 gives an empty picture.
    void SetImage(const TBitmap32& bitmap);

    // The press handler of the picture, in control coordinates (any button).
    void ImageMouseDown(Qt::MouseButton button, int x, int y);
    void BuSaveClick();

    // Asks for the file name to save under; empty: cancelled. The platform's save dialog by default.
    using TAskFileName = std::function<QString(QWidget* owner)>;
    void SetAskFileName(TAskFileName ask) { FAskFileName = std::move(ask); }

    const TGifPicture& Gif() const { return FGif; }
    TColor ChosenColor() const;
    TGifPreview& Image() const { return *FImage; }
    QWidget& Panel1() const { return *FPanel1; }
    QLabel& Label1() const { return *FLabel1; }
    QLabel& Label2() const { return *FLabel2; }
    TColorShape& ShapeColor() const { return *FShapeColor; }
    QPushButton& BuSave() const { return *FBuSave; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildControls();
    void PlaceControls();
    bool ConfirmReplace(const QString& fileName);
    void ShowWriteError(const QString& fileName, const QString& reason);

    IMessageSeam& FMessages;
    TAskFileName FAskFileName;
    TGifPicture FGif;

    // All owned by the dialog through Qt parents.
    TGifPreview* FImage = nullptr;
    QWidget* FPanel1 = nullptr;
    QLabel* FLabel1 = nullptr;
    TColorShape* FShapeColor = nullptr;
    QLabel* FLabel2 = nullptr;
    QPushButton* FBuSave = nullptr;
};

// The platform's save dialog for GIF files, without its own overwrite question (the caller asks).
QString AskGifFileName(QWidget* owner);

} // namespace tavrin
