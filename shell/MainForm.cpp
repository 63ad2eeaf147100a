// The main window: start-up, layout, menus and shutdown.
#include "shell/MainForm.h"

#include "editor/FmEditor.h"
#include "services/Config.h"
#include "services/FormStorage.h"
#include "services/IniFileStorage.h"
#include "shell/BK_Drag.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"
#include "shell/ZoomCursors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace tavrin {

namespace {

QWidget* Fixed(QWidget* w, int width, int height)
{
    w->setFixedSize(width, height);
    return w;
}

// The product logo of the header band: the name on a plain plate.
QPixmap LogoPicture()
{
    QPixmap pixmap(149, 59);
    pixmap.fill(QColor(0x1F, 0x4E, 0x8C));
    QPainter p(&pixmap);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(26);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("TAVRIN"));
    return pixmap;
}

} // namespace

TMainForm::TMainForm(const TServices& services, QWidget* parent) : QMainWindow(parent), FServices(services)
{
    setWindowTitle(QStringLiteral("TAVRIN - 이미지 편집 프로그램"));
    setObjectName(QStringLiteral("MainForm"));
    BuildLayout();
    BuildMenus();
    move(300, 263);
    resize(892, 746 + menuBar()->sizeHint().height());
    setMinimumWidth(892);

    // FormCreate
    FConfig = services.ConfigFolder.isEmpty() ? std::make_unique<TConfig>(services.Messages)
                                              : std::make_unique<TConfig>(services.Messages, services.ConfigFolder);
    MMIViewSelected->setChecked(FConfig->UseViewSelected);
    FEditorNo = 0;
    FDrag = new TBK_Drag(this);
    FDrag->SetFilter({"JPG", "PNG", "GIF", "EMF", "ICO", "WMF", "BMP"});
    FDrag->OnDragDropFile = [this](const QStringList& items) { BK_DragDragDropFile(items); };
    FDrag->Register(this);
    RegisterZoomCursors();
    FStorage = std::make_unique<TFormStorage>(
        services.Status.Store(), *this,
        TFormStorage::TColorProperty{[this] { return ColorDialogColor; }, [this](TColor c) { ColorDialogColor = c; }});

    AskImageSize = [this]() -> std::optional<TImageSize> {
        TFmImgSize dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.GetSize();
    };
}

TMainForm::~TMainForm()
{
    // FormDestroy. Editor windows still open (the window was never closed) go first, quietly: their
    // activation and destruction must not reach a main window that is being taken apart.
    FClosing = true;
    FMdiArea->disconnect(this);
    FPageControl->disconnect(this);
    for (QMdiSubWindow* sub : FMdiArea->subWindowList())
        delete sub;
    FStorage->Save();
    FConfig.reset();
}

void TMainForm::BuildLayout()
{
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildHeader());

    FPageControl = new QTabBar(central);
    FPageControl->setObjectName(QStringLiteral("PageControl"));
    FPageControl->setFixedHeight(23);
    FPageControl->setExpanding(false);
    FPageControl->setDrawBase(false);
    FPageControl->hide();
    FPageControl->installEventFilter(this);
    connect(FPageControl, &QTabBar::currentChanged, this, [this] { PageControlChange(); });
    column->addWidget(FPageControl);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    FToolPanel = new TToolPanel([this] { return ActiveEditor(); }, ColorDialogColor, central);
    row->addWidget(FToolPanel);
    FMdiArea = new QMdiArea(central);
    FMdiArea->setObjectName(QStringLiteral("MdiArea"));
    connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this] { EditorResize(); });
    row->addWidget(FMdiArea, 1);
    column->addLayout(row, 1);
    setCentralWidget(central);

    FStatusBar = new TMainStatusBar(this);
    setStatusBar(FStatusBar);
}

QWidget* TMainForm::BuildHeader()
{
    auto* head = new QWidget;
    head->setObjectName(QStringLiteral("PanelHead"));
    head->setFixedHeight(61);
    auto* toolBar = Fixed(new QWidget(head), 635, 60);
    toolBar->setObjectName(QStringLiteral("ToolBarHead"));
    auto* logo = new QLabel(toolBar);
    logo->setPixmap(LogoPicture());
    logo->setGeometry(0, 0, 149, 59);

    auto* promotion = Fixed(new QWidget(head), 241, 61);
    promotion->setObjectName(QStringLiteral("Panel1"));
    auto* animator = new QLabel(promotion);
    animator->setObjectName(QStringLiteral("JvGIFAnimator1"));
    animator->setGeometry(5, 3, 230, 55);
    auto* browser = new QWidget(promotion);
    browser->setObjectName(QStringLiteral("WBAD"));
    browser->setGeometry(-1000, 0, 168, 61); // created, never shown a page, kept out of sight

    auto* rule = new QFrame(head);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    auto* layout = new QGridLayout(head);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(promotion, 0, 1, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(rule, 0, 0, 1, 2, Qt::AlignBottom);
    return head;
}

void TMainForm::BuildMenus()
{
    ActionFileNew = new QAction(QStringLiteral("새 이미지(&N)"), this);
    ActionFileNew->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    ActionFileNew->setStatusTip(QStringLiteral("Create a new file"));
    connect(ActionFileNew, &QAction::triggered, this, [this] { FileNewExecute(); });
    ActionFileOpen = new QAction(QStringLiteral("&Open"), this);
    ActionFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ActionFileOpen->setStatusTip(QStringLiteral("Open a file"));
    connect(ActionFileOpen, &QAction::triggered, this, [this] { ActionFileOpenExecute(); });
    ActionFileExit = new QAction(QStringLiteral("E&xit"), this);
    ActionFileExit->setStatusTip(QStringLiteral("Exit application"));
    connect(ActionFileExit, &QAction::triggered, this, &QWidget::close);
    WindowClose = new QAction(QStringLiteral("닫기(&C)"), this);
    WindowClose->setStatusTip(QStringLiteral("닫기"));
    connect(WindowClose, &QAction::triggered, this, [this] { PMICloseClick(); });

    QMenu* file = menuBar()->addMenu(QStringLiteral("파일(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    file->setStatusTip(QStringLiteral("File related commands"));
    file->addAction(ActionFileNew);
    // The open and exit entries carry captions of their own; they share the commands' shortcuts.
    QAction* open = file->addAction(QStringLiteral("열기(&O)"), this, [this] { ActionFileOpenExecute(); });
    open->setShortcut(ActionFileOpen->shortcut());
    open->setStatusTip(ActionFileOpen->statusTip());
    file->addAction(WindowClose);
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("종료(&X)"), this, &QWidget::close);
    exit->setStatusTip(ActionFileExit->statusTip());

    QMenu* view = menuBar()->addMenu(QStringLiteral("보기(&V)"));
    view->setObjectName(QStringLiteral("MMIView"));
    MMIViewSelected = view->addAction(QStringLiteral("선택영역 보기(&V)"));
    MMIViewSelected->setCheckable(true);
    connect(MMIViewSelected, &QAction::triggered, this, [this](bool on) {
        FConfig->UseViewSelected = on;
        if (TFmEditor* editor = ActiveEditor())
            editor->SetViewSelected(on);
    });

    FWindowMenu = menuBar()->addMenu(QStringLiteral("창(&W)"));
    FWindowMenu->setObjectName(QStringLiteral("Window1"));
    FWindowMenu->setStatusTip(QStringLiteral("Window related commands"));
    connect(FWindowMenu, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });

    FPopupMenuTab = new QMenu(this);
    FPopupMenuTab->setObjectName(QStringLiteral("PopupMenuTab"));
    FPopupMenuTab->addAction(QStringLiteral("창닫기(&C)"), this, [this] { PMICloseClick(); })
        ->setObjectName(QStringLiteral("PMIClose"));
}

void TMainForm::FillWindowMenu()
{
    FWindowMenu->clear();
    const QMdiSubWindow* current = FMdiArea->currentSubWindow();
    int number = 1;
    for (QMdiSubWindow* sub : FMdiArea->subWindowList()) {
        QAction* entry = FWindowMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(sub->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(sub == current);
        connect(entry, &QAction::triggered, this, [this, sub] { FMdiArea->setActiveSubWindow(sub); });
    }
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    FStorage->Restore();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // Every editor window is asked first; one refusal keeps everything open.
    for (QMdiSubWindow* sub : FMdiArea->subWindowList())
        if (auto* editor = qobject_cast<TFmEditor*>(sub->widget()); editor && !editor->CloseQuery()) {
            event->ignore();
            return;
        }
    FStorage->Save();
    FClosing = true;
    for (QMdiSubWindow* sub : FMdiArea->subWindowList())
        delete sub;
    event->accept();
}

} // namespace tavrin
