#pragma once
// TFmImgSize: asks for the width and height of a new blank picture. It proposes 320 × 240, or the size
// of the picture on the clipboard so that a paste afterwards fits exactly. Enter in the width field
// moves on to the height field; Enter in the height field confirms. Esc does nothing and there is no
// default button, so a stray key never closes the dialog by accident.
//
//   TFmImgSize dlg(owner);
//   if (dlg.exec() == QDialog::Accepted) { auto [w, h] = dlg.GetSize(); ... }

#include <QDialog>

#include <cstdint>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tavrin {

class TSpinEdit;

struct TImageSize
{
    std::int32_t Width = 0;
    std::int32_t Height = 0;
};

class TFmImgSize : public QDialog
{
    Q_OBJECT
  public:
    explicit TFmImgSize(QWidget* owner = nullptr);

    // The two fields as they are now; texts that are not whole numbers read as 0, values beyond
    // 32 bits saturate.
    TImageSize GetSize() const;

    TSpinEdit& SEditWidth() const { return *FSEditWidth; }
    TSpinEdit& SEditHeight() const { return *FSEditHeight; }
    QPushButton& BuOk() const { return *FBuOk; }
    QPushButton& BuCancel() const { return *FBuCancel; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void FormCreate();
    bool SEditWidthKeyDown(QKeyEvent& event);
    bool SEditHeightKeyPress(QKeyEvent& event);
    void BuOkClick() { accept(); }
    void BuCancelClick() { reject(); }

    // All owned by the dialog through Qt parents.
    QGroupBox* FGBSize = nullptr;
    QLabel* FLabel1 = nullptr;
    QLabel* FLabel2 = nullptr;
    TSpinEdit* FSEditWidth = nullptr;
    TSpinEdit* FSEditHeight = nullptr;
    QPushButton* FBuOk = nullptr;
    QPushButton* FBuCancel = nullptr;
};

} // namespace tavrin
