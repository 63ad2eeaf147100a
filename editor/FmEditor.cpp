// The editor window: layout, published operations and the close question.
#include "editor/FmEditor.h"

#include "core/RoundEven.h"
#include "editor/EditorPopupMenu.h"
#include "editor/Image32.h"
#include "editor/RsRuler.h"
#include "services/MessageSeam.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace tavrin {

namespace {

constexpr int kBand = 20; // thickness of the ruler bands and corner squares

QWidget* Corner(QWidget* parent, const QString& text = {})
{
    auto* label = new QLabel(text, parent);
    label->setFixedSize(kBand, kBand);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// Hands the events of the widgets it watches to a handler, which answers whether to keep them from the widget.
class TEventTap : public QObject
{
public:
    using THandler = std::function<bool(QObject*, QEvent*)>;
    TEventTap(THandler handler, QObject* parent) : QObject(parent), FHandler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return FHandler(watched, event); }

private:
    THandler FHandler;
};

} // namespace

TFmEditor::TFmEditor(IMessageSeam& messages, QWidget* parent)
    : QWidget(parent), FMessages(messages), FImgEditor(std::make_unique<TImgEditor>())
{
    resize(640, 480);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    BuildLayout();
    SetUpRulers();

    FImgEditor->AttachView(*FImage);
    FImgEditor->IsCtrlHeld = [] { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier); };
    FImgEditor->FToolMode = TToolMode::tmNone;

    FImage->OnMouseDown = [this](TMouseButton b, TShiftState s, int x, int y, TCustomLayer* l) {
        ImageMouseDown(b, s, x, y, l);
    };
    FImage->OnMouseMove = [this](TShiftState s, int x, int y, TCustomLayer* l) { ImageMouseMove(s, x, y, l); };
    FImage->OnMouseUp = [this](TMouseButton b, TShiftState s, int x, int y, TCustomLayer* l) {
        ImageMouseUp(b, s, x, y, l);
    };
    FImage->OnDblClick = [this] { ImageDblClick(); };
    FImage->OnMouseLeave = [this] { ImageMouseLeave(); };
    UpdateRulerOffsets();
}

TFmEditor::~TFmEditor()
{
    // The view's handlers point back here; the document goes before the view's layers.
    FImage->OnMouseDown = nullptr;
    FImage->OnMouseMove = nullptr;
    FImage->OnMouseUp = nullptr;
    FImage->OnDblClick = nullptr;
    FImage->OnMouseLeave = nullptr;
    FImgEditor.reset();
}

void TFmEditor::BuildLayout()
{
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    FPanelWindow = new QWidget(this);
    FPanelWindow->setObjectName(QStringLiteral("PanelWindow"));
    outer->addWidget(FPanelWindow);

    auto* grid = new QGridLayout(FPanelWindow);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    FRulerTop = new TRsRuler(FPanelWindow);
    FRulerBottom = new TRsRuler(FPanelWindow);
    FRulerLeft = new TRsRuler(FPanelWindow);
    FRulerRight = new TRsRuler(FPanelWindow);
    FPanelTopLeft = static_cast<QLabel*>(Corner(FPanelWindow, QStringLiteral("PX")));
    FPanelTopLeft->setObjectName(QStringLiteral("PanelTopLeft"));
    grid->addWidget(FPanelTopLeft, 0, 0);
    grid->addWidget(FRulerTop, 0, 1);
    grid->addWidget(Corner(FPanelWindow), 0, 2);
    grid->addWidget(FRulerLeft, 1, 0);
    grid->addWidget(FRulerRight, 1, 2);
    grid->addWidget(Corner(FPanelWindow), 2, 0);
    grid->addWidget(FRulerBottom, 2, 1);
    grid->addWidget(Corner(FPanelWindow), 2, 2);

    FScrollBox = new QScrollArea(FPanelWindow);
    FScrollBox->setObjectName(QStringLiteral("ScrollBox"));
    FScrollBox->setFrameShape(QFrame::NoFrame);
    FScrollBox->setFocusPolicy(Qt::NoFocus);
    FScrollBox->setWidgetResizable(false);
    FScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FScrollBox->setBackgroundRole(QPalette::Window);
    FScrollContent = new QWidget;
    FScrollContent->resize(2, 0);
    FImage = new TImage32(FScrollContent);
    FImage->setObjectName(QStringLiteral("Image"));
    FImage->move(2, 0);
    FImage->resize(192, 192); // white until a picture sizes it
    FScrollContent->resize(194, 192);
    FScrollBox->setWidget(FScrollContent);
    grid->addWidget(FScrollBox, 1, 1);

    BuildPopupMenu();

    FImage->installEventFilter(this);
    FScrollContent->installEventFilter(this);
    FScrollBox->viewport()->installEventFilter(this);
    FScrollBox->installEventFilter(this);
    connect(FScrollBox->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateRulerOffsets(); });
    connect(FScrollBox->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { UpdateRulerOffsets(); });
    TapViewEvents();
}

// The wheel zooms wherever the pointer is: the scroll box and its bars would scroll instead, so their
// wheel turns go to the window's own handler (the rulers and corners pass theirs up to the window anyway).
// A turn of a tilting wheel alone, sideways, still scrolls. A new size of the view moves the rulers'
// marks, whoever resized it.
void TFmEditor::TapViewEvents()
{
    auto* tap = new TEventTap(
        [this](QObject* watched, QEvent* event) {
            if (event->type() == QEvent::Wheel && watched != FImage) {
                auto* wheel = static_cast<QWheelEvent*>(event);
                if (wheel->angleDelta().y() == 0)
                    return false;
                wheelEvent(wheel);
                return true;
            }
            if (event->type() == QEvent::Resize && watched == FImage)
                UpdateRulerOffsets();
            return false;
        },
        this);
    FImage->installEventFilter(tap);
    for (QWidget* w : {static_cast<QWidget*>(FScrollBox), FScrollBox->viewport(),
                       static_cast<QWidget*>(FScrollBox->horizontalScrollBar()),
                       static_cast<QWidget*>(FScrollBox->verticalScrollBar())})
        w->installEventFilter(tap);
}

void TFmEditor::SetToolMode(TToolMode mode)
{
    FToolCursor = TCursor::crDefault;
    if (mode == TToolMode::tmMapPolygon)
        FImgEditor->BeginPolygon();
    else if (mode == TToolMode::tmZoomIn)
        FToolCursor = TCursor::crZoomIn;
    else if (mode == TToolMode::tmZoomOut)
        FToolCursor = TCursor::crZoomOut;
    FImage->SetOwnCursor(FToolCursor);
    FImgEditor->FChosenTool = mode;
    FImgEditor->FToolMode = mode;
}

int TFmEditor::GetScalePercent() const { return RoundEven(static_cast<long double>(FImage->Scale()) * 100); }

TPoint TFmEditor::GetMousePos() const
{
    return {FImgEditor->ViewToImage(static_cast<float>(FMouseX)), FImgEditor->ViewToImage(static_cast<float>(FMouseY))};
}

TColor TFmEditor::ColorAtImage(int x, int y) const
{
    const TBitmap32& b = FImage->Bitmap();
    if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height())
        return clInvalidColor;
    return ColorOfPixel(b.Pixel(x, y));
}

TColor TFmEditor::GetMouseColor() const
{
    const TPoint p = GetMousePos();
    return ColorAtImage(p.X, p.Y);
}

TColor TFmEditor::GetDownColor() const
{
    const TPoint d = FImgEditor->FDownPos;
    return ColorAtImage(FImgEditor->ViewToImage(static_cast<float>(d.X)),
                        FImgEditor->ViewToImage(static_cast<float>(d.Y)));
}

void TFmEditor::DeleteAllGuides()
{
    FImgEditor->DeleteLayersOfKind(lkGuideY);
    FImgEditor->DeleteLayersOfKind(lkGuideX);
}

bool TFmEditor::CloseQuery()
{
    if (!FImgEditor->FFileName.empty())
        return true;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
    raise();
    const TMessage question(QStringLiteral("종료 확인"), QStringLiteral("현재 이미지 편집창을 닫겠습니까?"),
                            TMsgIcon::Question, TMsgButton::Yes | TMsgButton::No, TMsgButton::No, this);
    return FMessages.Show(question) == TMsgButton::Yes;
}

void TFmEditor::closeEvent(QCloseEvent* event)
{
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace tavrin
