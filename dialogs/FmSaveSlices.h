#pragma once
// TFmSaveSlices: asks where and how to save every piece of the guide grid at once — the folder, the
// base name of the files, their format and whether a page that reassembles them is written too. A line
// under the fields says how many pieces there will be and names the first and the last file, so a
// person sees the result before anything is written. A folder that does not exist is made after asking.
//
//   TFmSaveSlices dlg(rows, columns, owner);
//   dlg.SetFolder(dir); dlg.SetBaseName(name);
//   if (dlg.exec() == QDialog::Accepted) { dlg.Folder(), dlg.BaseName(), dlg.Extension(), dlg.MakePage() }

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavrin {

class IMessageSeam;

class TFmSaveSlices : public QDialog
{
    Q_OBJECT
  public:
    TFmSaveSlices(int rows, int columns, IMessageSeam& messages, QWidget* owner = nullptr);

    void SetFolder(const QString& folder);
    void SetBaseName(const QString& baseName);

    QString Folder() const;
    QString BaseName() const;
    QString Extension() const; // "jpg", "gif", "png" or "bmp"
    bool MakePage() const;

    // The folder chooser behind the browse button; tests replace it. Returns "" when cancelled.
    std::function<QString(QWidget* owner, const QString& start)> ChooseFolder;

    QLineEdit& EdFolder() const { return *FEdFolder; }
    QLineEdit& EdBaseName() const { return *FEdBaseName; }
    QComboBox& CbFormat() const { return *FCbFormat; }
    QCheckBox& CkPage() const { return *FCkPage; }
    QLabel& LbCount() const { return *FLbCount; }
    QPushButton& BuBrowse() const { return *FBuBrowse; }
    QPushButton& BuOk() const { return *FBuOk; }
    QPushButton& BuCancel() const { return *FBuCancel; }

  private:
    void BuildControls();
    void UpdateCountLine();
    void BuBrowseClick();
    void BuOkClick();
    // Empty when the fields can be used (the folder may still have to be made); otherwise what is wrong,
    // for a message box.
    QString Problem() const;
    // Asks whether to make the missing folder and makes it; false when the answer is No or it failed.
    bool OfferToCreateFolder();

    int FRows;
    int FColumns;
    IMessageSeam& FMessages;
    // All owned by the dialog through Qt parents.
    QLineEdit* FEdFolder = nullptr;
    QLineEdit* FEdBaseName = nullptr;
    QComboBox* FCbFormat = nullptr;
    QCheckBox* FCkPage = nullptr;
    QLabel* FLbCount = nullptr;
    QPushButton* FBuBrowse = nullptr;
    QPushButton* FBuOk = nullptr;
    QPushButton* FBuCancel = nullptr;
};

} // namespace tavrin
