#pragma once
// TFmImgTag: gives one image-map area its map name, link, target and alternative text, and shows the
// markup of that single area as the fields read at this moment, ready to be copied.
//
//   TFmImgTag dlg(editorWindow);
//   dlg.SetArea(area);   // proposes ImgMap<id> as map name, stored at once
//   dlg.exec();          // OK stores the fields; the close button and the close box do not
//
// Enter anywhere in the fields acts as OK; Esc does nothing.

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class TImageMapLyer;
class TMemo;

class TFmImgTag : public QDialog
{
    Q_OBJECT
  public:
    explicit TFmImgTag(QWidget* owner = nullptr);

    // The area to edit (not owned; it must outlive the dialog). Call once, before showing.
    void SetArea(TImageMapLyer& area);

    // The single-area markup from the current field values and the area's shape and coords.
    QString BuildAreaMarkup() const;

    QLabel& LabelShape() const { return *FLabelShape; }
    QLineEdit& EdUseMap() const { return *FEdUseMap; }
    QLineEdit& EdHref() const { return *FEdHref; }
    QComboBox& CbTarget() const { return *FCbTarget; }
    QLineEdit& EdAlt() const { return *FEdAlt; }
    TMemo& MemoTag() const { return *FMemoTag; }
    QPushButton& BuClose() const { return *FBuClose; }
    QPushButton& BuCopy() const { return *FBuCopy; }
    QPushButton& BuOK() const { return *FBuOK; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void ConnectHandlers();
    void DataOnChange();
    void BuCopyClick();
    void BuOkClick();
    void BuCloseClick() { reject(); }

    TImageMapLyer* FArea = nullptr;
    // All owned by the dialog through Qt parents.
    QLabel* FLabelShape = nullptr;
    QLineEdit* FEdUseMap = nullptr;
    QLineEdit* FEdHref = nullptr;
    QComboBox* FCbTarget = nullptr;
    QLineEdit* FEdAlt = nullptr;
    TMemo* FMemoTag = nullptr;
    QPushButton* FBuClose = nullptr;
    QPushButton* FBuCopy = nullptr;
    QPushButton* FBuOK = nullptr;
};

} // namespace tavrin
