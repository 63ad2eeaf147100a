#pragma once
// TToolBarHead: the header tool bar of the main window. The product logo, then seven 59 x 59 picture
// buttons (new image, open, copy, paste, save, arrange, view) whose pictures turn highlighted while the
// pointer is over them, and the drop-down menus of the save, arrange and view buttons.

#include <QToolButton>
#include <QWidget>

#include <array>

class QLabel;
class QMenu;

namespace tavrin {

class TCommands;

// A header button: shows picture `ImageIndex` of the header pictures; its Tag is its normal picture.
class THeadButton : public QToolButton
{
    Q_OBJECT
public:
    THeadButton(int tag, QWidget* parent);
    int Tag() const { return FTag; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    // The open button puts its normal picture back when released: its dialog has closed by then.
    bool NormalOnRelease = false;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int FTag;
    int FImageIndex = -1;
};

class TToolBarHead : public QWidget
{
    Q_OBJECT
public:
    enum TButton
    {
        bnNew,
        bnImgOpen,
        bnCopy,
        bnPaste,
        bnSave,
        bnSort,
        bnView,
    };

    TToolBarHead(TCommands& commands, QWidget* parent = nullptr);

    THeadButton& Button(TButton which) const { return *FButtons[which]; }
    QLabel& Logo() const { return *FLogo; }
    QMenu& PopupMenuSave() const { return *FPopupMenuSave; }
    QMenu& PopupMenuSort() const { return *FPopupMenuSort; }
    QMenu& PopupMenuView() const { return *FPopupMenuView; }

signals:
    // The body of the arrange button was clicked.
    void SortClicked();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    THeadButton* AddButton(TButton which, const char* name, int& x, QMenu* menu = nullptr);
    void BuildMenus(TCommands& commands);

    QLabel* FLogo = nullptr;
    std::array<THeadButton*, 7> FButtons{};
    QMenu* FPopupMenuSave = nullptr;
    QMenu* FPopupMenuSort = nullptr;
    QMenu* FPopupMenuView = nullptr;
    std::array<int, 4> FSeparators{}; // left edges of the four 8-wide separators
};

} // namespace tavrin
