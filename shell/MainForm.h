#pragma once
// TMainForm: the frame of the program. It holds one editor window per open picture in a
// multiple-document area, a tab strip that mirrors them (an editor window and its tab carry the same
// running number), the header band, the tool panel and status bar places, and the menus.

#include "core/Color.h"
#include "dialogs/FmImgSize.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QTabBar;

namespace tavrin {

class IFileDialogSeam;
class IMessageSeam;
class TAppIniFileStorage;
class TBK_Drag;
class TCommands;
class TConfig;
class TFmEditor;
class TFormStorage;
class TMainStatusBar;
class TToolPanel;
class TTextFieldKeys;
class TTipOfDay;
class TToolBarHead;

inline constexpr const char* kApplicationTitle = "TAVRIN 이미지편집";

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    struct TServices
    {
        IMessageSeam& Messages;
        IFileDialogSeam& FileDialogs;
        TAppIniFileStorage& Status; // status.ini, loaded before and written after this window's life
        QString ConfigFolder;       // where config.ini lives; empty: beside the executable
    };

    explicit TMainForm(const TServices& services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- operations ---
    TFmEditor* ActiveEditor() const;
    TFmEditor* FindEditorByTag(int tag) const;
    TFmEditor* NewEditor();
    // True when the file was loaded; a failure has been reported.
    bool OpenImageFile(const QString& fileName);
    void SyncTab(TFmEditor& editor);
    void EditorResize();

    // --- command handlers ---
    void FileNewExecute();
    void ActionFileOpenExecute();
    void BK_DragDragDropFile(const QStringList& files);
    void PageControlChange();
    void PMICloseClick();
    void ToolButtonSortClick(); // arranges by turns: cascade, horizontal, vertical
    void MMTipClick();
    void MMIHomePageClick();
    void MIAboutClick();

    // Asks for the size of a new picture; none when cancelled. Tests may replace it.
    std::function<std::optional<TImageSize>()> AskImageSize;

    // --- parts, for the commands of later additions and for tests ---
    QTabBar& PageControl() const { return *FPageControl; }
    QMdiArea& MdiArea() const { return *FMdiArea; }
    QMenu& WindowMenu() const { return *FWindowMenu; }
    QMenu& PopupMenuTab() const { return *FPopupMenuTab; }
    TBK_Drag& DropTarget() const { return *FDrag; }
    TConfig& Config() const { return *FConfig; }
    TToolPanel& ToolPanel() const { return *FToolPanel; }
    TMainStatusBar& StatusBarPanels() const { return *FStatusBar; }
    TCommands& Commands() const { return *FCommands; }
    TToolBarHead& ToolBarHead() const { return *FToolBarHead; }
    TTipOfDay& TipOfDay() const { return *FTipOfDay; }
    int ArrangeCount() const { return FArrangeCount; }
    QAction* ActionFileNew = nullptr;
    QAction* ActionFileOpen = nullptr;
    QAction* ActionFileExit = nullptr;
    QAction* WindowClose = nullptr;
    QAction* MMIViewSelected = nullptr; // the View menu's entry, which owns the check mark
    TColor ColorDialogColor{0x008000}; // guide colour for new editor windows; green until chosen
    int EditorNo() const { return FEditorNo; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectToolPanel();
    void BuildLayout();
    QWidget* BuildHeader();
    void BuildMenus();
    void FillWindowMenu();
    void UpdateWindowCommands();
    void EditorDestroyed(int tag);
    int TabIndexOfTag(int tag) const;
    QMdiSubWindow* SubWindowOf(int tag) const;
    void ShowEditor(TFmEditor& editor);
    void ReportError(const QString& text);
    QString OpenDialogFilter() const;

    const TServices FServices;
    int FEditorNo = 0;
    std::unique_ptr<TConfig> FConfig;       // config.ini, written when freed
    std::unique_ptr<TFormStorage> FStorage; // placement and guide colour in status.ini
    QTabBar* FPageControl = nullptr;
    QMdiArea* FMdiArea = nullptr;
    QMenu* FWindowMenu = nullptr;
    qsizetype FWindowMenuFixed = 0; // entries before the list of editor windows
    TCommands* FCommands = nullptr;       // owned by this window
    TToolBarHead* FToolBarHead = nullptr; // owned by this window
    TTipOfDay* FTipOfDay = nullptr;       // owned by this window
    TTextFieldKeys* FTextFieldKeys = nullptr;
    int FArrangeCount = 0;
    QMenu* FPopupMenuTab = nullptr;
    TBK_Drag* FDrag = nullptr;
    TToolPanel* FToolPanel = nullptr;
    TMainStatusBar* FStatusBar = nullptr;
    bool FShown = false;
    bool FClosing = false;
};

} // namespace tavrin
