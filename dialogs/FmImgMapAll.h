#pragma once
// TFmImgMapAll: the img element that uses the image map, followed by the whole map, in a text box the
// user may edit and copy. Nothing is stored back anywhere.
//
//   TFmImgMapAll dlg(editorWindow);
//   dlg.SetImageSize(w, h); dlg.SetFileName(path); dlg.SetMapText(doc.BuildMapMarkup());
//   dlg.exec();   // the text is built when the dialog shows; Esc closes it

#include <QDialog>

#include <cstdint>

class QPushButton;

namespace tavrin {

class TMemo;

class TFmImgMapAll : public QDialog
{
    Q_OBJECT
  public:
    explicit TFmImgMapAll(QWidget* owner = nullptr);

    void SetImageSize(std::int32_t width, std::int32_t height);
    // The picture's full path; the img element takes its name and extension. Empty for a new picture.
    void SetFileName(const QString& name) { FImageFileName = name; }
    // The whole-map markup (CR LF line breaks).
    void SetMapText(const QString& text) { FMapText = text; }

    TMemo& MemoTag() const { return *FMemoTag; }
    QPushButton& BuCopy() const { return *FBuCopy; }
    QPushButton& BuClose() const { return *FBuClose; }

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildControls();
    void FormShow() { BuildMemo(); }
    void BuildMemo();
    void BuCopyClick();

    std::int32_t FImageWidth = 0;
    std::int32_t FImageHeight = 0;
    QString FImageFileName;
    QString FMapText;
    // Owned by the dialog through Qt parents.
    TMemo* FMemoTag = nullptr;
    QPushButton* FBuCopy = nullptr;
    QPushButton* FBuClose = nullptr;
};

} // namespace tavrin
