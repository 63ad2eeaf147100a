// The main window: start-up, layout, menus and shutdown.
#include "shell/MainForm.h"

#include "editor/FmEditor.h"
#include "services/Config.h"
#include "services/FormStorage.h"
#include "services/IniFileStorage.h"
#include "shell/BK_Drag.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"
#include "shell/Commands.h"
#include "shell/PromotionPanel.h"
#include "shell/TextFieldKeys.h"
#include "shell/TipOfDay.h"
#include "shell/ToolBarHead.h"
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
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace tavrin {


TMainForm::TMainForm(const TServices& services, QWidget* parent) : QMainWindow(parent), FServices(services)
{
    setWindowTitle(QStringLiteral("TAVRIN - 이미지 편집 프로그램"));
    setObjectName(QStringLiteral("MainForm"));
    setWindowIcon(QIcon(QStringLiteral(":/tavrin/tavrin.svg")));
    FCommands = new TCommands(*this);
    FTextFieldKeys = new TTextFieldKeys(this);
    FTipOfDay = new TTipOfDay(services.Status.Store(), this);
    BuildLayout();
    BuildMenus();
    ConnectToolPanel();
    UpdateWindowCommands();
    move(300, 263);
    resize(892, 746 + menuBar()->sizeHint().height());
    setMinimumWidth(892);

    // FormCreate
    FConfig = services.ConfigFolder.isEmpty() ? std::make_unique<TConfig>(services.Messages)
                                              : std::make_unique<TConfig>(services.Messages, services.ConfigFolder);
    MMIViewSelected->setChecked(FConfig->UseViewSelected);
    FEditorNo = 0;
    FDrag = new TBK_Drag(this);
    // "JPEG" too: the loader reads that ending as JPEG, and file managers drag such photos here.
    FDrag->SetFilter({"JPG", "PNG", "GIF", "EMF", "ICO", "WMF", "BMP", "JPEG"});
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

// The panel's buttons run the same commands as the menus, and the panel follows every tool command.
void TMainForm::ConnectToolPanel()
{
    using enum TCommandId;
    const std::pair<TToolPanel::TButton, TCommandId> routes[] = {
        {TToolPanel::ImgBuMouse, ImgNone},          {TToolPanel::ImgBuRect, ImgSelect},
        {TToolPanel::ImgBuMagnet, Magnet},          {TToolPanel::ImgBuLinkRect, ImgMapRect},
        {TToolPanel::ImgBuLinkCircle, ImgMapCircle}, {TToolPanel::ImgBuLinkPolygon, ImgMapPolygon},
        {TToolPanel::ImgViewOrg, ImgOrg},
    };
    for (const auto& [button, command] : routes)
        FToolPanel->ButtonClick[button] = [this, command] { (*FCommands)[command].trigger(); };
    connect(FCommands, &TCommands::ToolModeSet, FToolPanel, &TToolPanel::RefreshToolPanel);
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
    connect(FMdiArea, &QMdiArea::subWindowActivated, this, [this] {
        EditorResize();
        UpdateWindowCommands();
    });
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
    FToolBarHead = new TToolBarHead(*FCommands, head);
    connect(FToolBarHead, &TToolBarHead::SortClicked, this, &TMainForm::ToolButtonSortClick);
    auto* promotion = new TPromotionPanel(head);

    auto* rule = new QFrame(head);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    auto* layout = new QGridLayout(head);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FToolBarHead, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(promotion, 0, 1, Qt::AlignRight | Qt::AlignTop);
    layout->addWidget(rule, 0, 0, 1, 2, Qt::AlignBottom);
    return head;
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
