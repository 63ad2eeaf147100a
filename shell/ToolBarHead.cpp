#include "shell/ToolBarHead.h"

#include "shell/CommandLink.h"
#include "shell/Commands.h"
#include "shell/HeadArtwork.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPainter>

namespace tavrin {

namespace {

constexpr int kButtonSize = 59;
constexpr int kArrowWidth = 13; // the drop-down part beside a button body
constexpr int kSeparatorWidth = 8;

} // namespace

THeadButton::THeadButton(int tag, QWidget* parent) : QToolButton(parent), FTag(tag)
{
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(52, 46));
    setFocusPolicy(Qt::NoFocus);
    SetImageIndex(tag);
}

void THeadButton::SetImageIndex(int index)
{
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    setIcon(QIcon(HeadPicture(index)));
}

// The highlighted picture is always the normal one + 7, also when the pointer enters again before a
// leave was reported (a dialog opened over the button): adding 7 to the current picture would then run
// past the end of the list and show nothing.
void THeadButton::enterEvent(QEnterEvent* event)
{
    QToolButton::enterEvent(event);
    SetImageIndex(FTag + kHeadPictureHover);
}

void THeadButton::leaveEvent(QEvent* event)
{
    QToolButton::leaveEvent(event);
    SetImageIndex(FTag);
}

void THeadButton::mouseReleaseEvent(QMouseEvent* event)
{
    QToolButton::mouseReleaseEvent(event);
    if (NormalOnRelease)
        SetImageIndex(FTag);
}

TToolBarHead::TToolBarHead(TCommands& commands, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ToolBarHead"));
    setFixedSize(635, 60);
    FLogo = new QLabel(this);
    FLogo->setObjectName(QStringLiteral("ImageLogo"));
    FLogo->setPixmap(LogoPicture());
    FLogo->setGeometry(0, 0, 149, 59);

    BuildMenus(commands);
    int x = 149;
    FSeparators[0] = x;
    x += kSeparatorWidth;
    AddButton(bnNew, "ToolButtonNew", x);
    AddButton(bnImgOpen, "ToolButtonImgOpen", x)->NormalOnRelease = true;
    FSeparators[1] = x;
    x += kSeparatorWidth;
    AddButton(bnCopy, "ToolButtonCopy", x);
    AddButton(bnPaste, "ToolButtonPaste", x);
    AddButton(bnSave, "ToolButtonSave", x, FPopupMenuSave);
    FSeparators[2] = x;
    x += kSeparatorWidth;
    AddButton(bnSort, "ToolButtonSort", x, FPopupMenuSort);
    AddButton(bnView, "ToolButtonView", x, FPopupMenuView);
    FSeparators[3] = x;

    const auto link = [&commands](THeadButton* button, TCommandId id) {
        QAction& action = commands[id];
        button->setStatusTip(action.statusTip());
        connect(button, &QToolButton::clicked, &action, [&action] { action.trigger(); });
    };
    link(FButtons[bnNew], TCommandId::FileNew);
    link(FButtons[bnImgOpen], TCommandId::FileOpen);
    link(FButtons[bnCopy], TCommandId::ImgCopy);
    link(FButtons[bnPaste], TCommandId::ImgPaste);
    link(FButtons[bnSave], TCommandId::ImgSave);
    connect(FButtons[bnSort], &QToolButton::clicked, this, &TToolBarHead::SortClicked);
    // The body of the view button opens its menu, as the arrow does.
    connect(FButtons[bnView], &QToolButton::clicked, FButtons[bnView], &QToolButton::showMenu);
}

THeadButton* TToolBarHead::AddButton(TButton which, const char* name, int& x, QMenu* menu)
{
    auto* button = new THeadButton(which, this);
    button->setObjectName(QString::fromUtf8(name));
    const int width = kButtonSize + (menu ? kArrowWidth : 0);
    button->setGeometry(x, 0, width, kButtonSize);
    if (menu) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    x += width;
    FButtons[which] = button;
    return button;
}

void TToolBarHead::BuildMenus(TCommands& commands)
{
    const auto menu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };
    const auto add = [&commands](QMenu* m, TCommandId id, const TLinkedItem& item) {
        AddLinkedItem(*m, commands[id], item, QIcon(PopupPicture(item.Picture)));
    };
    FPopupMenuSave = menu("PopupMenuSave");
    add(FPopupMenuSave, TCommandId::ImgSave, {"PopupMenuSaveImg", "", "", ppSave});
    add(FPopupMenuSave, TCommandId::ImgSaveGif, {"PopupMenuSaveGif", "", "", ppTransparentGif});
    add(FPopupMenuSave, TCommandId::ImgSaveAllPieces, {"PopupMenuSaveAllPieces", "", "", ppSave});
    FPopupMenuSort = menu("PopupMenuSort");
    add(FPopupMenuSort, TCommandId::WindowCascade, {"PopupMenuSortStair", "", "계단형", ppCascade});
    add(FPopupMenuSort, TCommandId::WindowTileHorizontal, {"PopupMenuSortHor", "", "수평", ppTileHorizontal});
    add(FPopupMenuSort, TCommandId::WindowTileVertical, {"PopupMenuSortVer", "", "수직", ppTileVertical});
    FPopupMenuView = menu("PopupMenuView");
    add(FPopupMenuView, TCommandId::ImgPlus, {"PopupMenuImgPlus", "확대(&+)", "", ppZoomIn});
    add(FPopupMenuView, TCommandId::ImgMinus, {"PopupMenuImgMinus", "축소(&-)", "", ppZoomOut});
    add(FPopupMenuView, TCommandId::ImgOrg, {"PopupMeneImgOrg", "원본(&/)", "", ppZoomOrg});
}

void TToolBarHead::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (int left : FSeparators) {
        const int x = left + kSeparatorWidth / 2 - 1;
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(x, 6, x, height() - 8);
        p.setPen(palette().color(QPalette::Light));
        p.drawLine(x + 1, 6, x + 1, height() - 8);
    }
}

} // namespace tavrin
