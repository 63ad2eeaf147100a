// The main window's menus, built from the command table, and the commands that act on the frame.
#include "shell/MainForm.h"

#include "shell/CommandLink.h"
#include "shell/Commands.h"
#include "shell/FmAbout.h"
#include "shell/ShellOpen.h"
#include "shell/TipOfDay.h"
#include "shell/WindowArrange.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include <string_view>
#include <vector>

namespace tavrin {

namespace {

struct TMenuEntry
{
    TCommandId Command;
    TLinkedItem Item;
    bool SeparatorBefore = false;
};

struct TTopMenu
{
    const char* Name;
    const char* Caption;
    const char* Hint;
    std::vector<TMenuEntry> Entries;
};

using enum TCommandId;

// The main menu, entries in order. A caption here replaces the command's own.
const TTopMenu kMainMenu[] = {
    {"File1", "파일(&F)", "File related commands",
     {{FileNew, {"FileNewItem"}},
      {FileOpen, {"FileOpenItem", "열기(&O)"}},
      {ImgSaveAllPieces, {"FileSaveAllPiecesItem", "조각 모두 저장(&A)"}},
      {WindowClose, {"FileCloseItem"}},
      {FileExit, {"FileExitItem", "종료(&X)"}, true}}},
    {"Edit1", "편집(&E)", "Edit commands",
     {{ImgCopy, {"CopyItem"}},
      {ImgPaste, {"PasteItem"}},
      {ImgLayerDelete, {"D1"}},
      {ImgGuideDelAll, {"MMIDelAllGuide"}},
      {ImgSelectDelAll, {"MMIDelAllSelect"}}}},
    {"MMIView", "보기(&V)", "",
     {{ImgPlus, {"MMIImgPlus"}},
      {ImgMinus, {"MMIImgMinus"}},
      {ImgOrg, {"MMIImgOrg"}},
      {ImgViewSelected, {.Name = "MMIViewSelected", .Checkable = true}}}},
    {"MMTool", "도구(&T)", "",
     {{ColorChange, {"MMIColorChange"}}, {ImgSelect, {"MMIImgSelect"}}, {ImgMapTag, {"Exit1"}}}},
    {"Window1", "창(&W)", "Window related commands",
     {{WindowCascade, {"WindowCascadeItem", "계단형 정렬(&C)"}},
      {WindowTileHorizontal, {"WindowTileItem", "수평 정렬(&H)"}},
      {WindowTileVertical, {"WindowTileItem2", "수직 정렬(&V)"}},
      {WindowMinimizeAll, {"WindowMinimizeItem", "모두 최소화(&M)"}}}},
    {"Help1", "도움말(&H)", "Help topics", {{Tip, {"MMTip"}}, {HomePage, {"MMIHomePage"}}, {About, {"MIAbout"}}}},
};

} // namespace

void TMainForm::BuildMenus()
{
    for (const TTopMenu& top : kMainMenu) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(top.Caption));
        menu->setObjectName(QString::fromUtf8(top.Name));
        menu->setStatusTip(QString::fromUtf8(top.Hint));
        for (const TMenuEntry& entry : top.Entries) {
            if (entry.SeparatorBefore)
                menu->addSeparator();
            QAction* item = AddLinkedItem(*menu, (*FCommands)[entry.Command], entry.Item);
            if (entry.Command == ImgViewSelected)
                MMIViewSelected = item;
        }
        if (top.Name == std::string_view("Window1"))
            FWindowMenu = menu;
    }
    // The frame's list of open editor windows follows the four arrangement entries.
    FWindowMenuFixed = FWindowMenu->actions().size();
    connect(FWindowMenu, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });

    ActionFileNew = &(*FCommands)[FileNew];
    ActionFileOpen = &(*FCommands)[FileOpen];
    ActionFileExit = &(*FCommands)[FileExit];
    WindowClose = &(*FCommands)[TCommandId::WindowClose];

    FPopupMenuTab = new QMenu(this);
    FPopupMenuTab->setObjectName(QStringLiteral("PopupMenuTab"));
    FPopupMenuTab->addAction(QStringLiteral("창닫기(&C)"), this, [this] { PMICloseClick(); })
        ->setObjectName(QStringLiteral("PMIClose"));
}

void TMainForm::FillWindowMenu()
{
    const QList<QAction*> entries = FWindowMenu->actions();
    for (qsizetype i = FWindowMenuFixed; i < entries.size(); ++i) {
        FWindowMenu->removeAction(entries[i]);
        if (entries[i]->parent() == FWindowMenu)
            entries[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = FMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    FWindowMenu->addSeparator();
    const QMdiSubWindow* current = FMdiArea->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow* sub : windows) {
        QAction* entry = FWindowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(sub == current);
        connect(entry, &QAction::triggered, this, [this, sub] { FMdiArea->setActiveSubWindow(sub); });
    }
}

void TMainForm::UpdateWindowCommands()
{
    if (FClosing)
        return;
    FCommands->UpdateWindowCommands(!FMdiArea->subWindowList().isEmpty(), ActiveEditor() != nullptr);
}

void TMainForm::ToolButtonSortClick()
{
    switch (FArrangeCount % 3) {
    case 0: CascadeEditors(*FMdiArea); break;
    case 1: TileEditorsHorizontally(*FMdiArea); break;
    default: TileEditorsVertically(*FMdiArea); break;
    }
    ++FArrangeCount;
}

void TMainForm::MMTipClick() { FTipOfDay->Execute(); }

void TMainForm::MMIHomePageClick() { ShellOpen(QString::fromUtf8(WebPages::HomePage)); }

void TMainForm::MIAboutClick()
{
    auto* about = new TFmAbout(this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setWindowModality(Qt::ApplicationModal);
    about->show();
}

} // namespace tavrin
