#include "shell/StatusBar.h"

#include "editor/FmEditor.h"
#include "shell/ToolPanelParts.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStatusTipEvent>

namespace tavrin {

namespace {

constexpr int kPanelWidths[TMainStatusBar::kPanelCount] = {200, 20, 100};
constexpr int kPanelGap = 2;
const QString kStartPosition = QStringLiteral("현재 마우스 위치 : 0, 0");
const QString kStartZoom = QStringLiteral("100%");

} // namespace

TMainStatusBar::TMainStatusBar(QWidget* window)
    : QStatusBar(window),
      FTexts{kStartPosition, QString(), kStartZoom}
{
    setObjectName(QStringLiteral("StatusBar"));
    setFixedHeight(19);
    setSizeGripEnabled(false);
    // A message shown the usual way (showMessage) lands in the first panel too.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& text) { SetPanelText(0, text); });
    if (window)
        window->installEventFilter(this);
}

QRect TMainStatusBar::PanelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += kPanelWidths[i] + kPanelGap;
    return QRect(left, 2, kPanelWidths[panel], height() - 2);
}

void TMainStatusBar::SetPanelText(int panel, const QString& text)
{
    QString& current = FTexts.at(static_cast<std::size_t>(panel));
    if (current == text)
        return;
    current = text;
    update(PanelRect(panel));
}

void TMainStatusBar::SetPointerColor(TColor color)
{
    if (color == FPointerColor)
        return;
    FPointerColor = color;
    update(PanelRect(1));
}

void TMainStatusBar::EditorMousePosition(TFmEditor* active)
{
    if (!active)
        return;
    SetPointerColor(active->GetMouseColor());
    const TPoint p = active->GetMousePos();
    SetPanelText(0, QStringLiteral("현재 마우스 위치:%1, %2").arg(p.X).arg(p.Y));
}

void TMainStatusBar::EditorScaleChanged(TFmEditor* active)
{
    if (active)
        SetPanelText(2, QStringLiteral("%1%").arg(active->GetScalePercent()));
}

void TMainStatusBar::ShowEditor(TFmEditor* active)
{
    if (active) {
        EditorMousePosition(active);
        EditorScaleChanged(active);
        return;
    }
    SetPanelText(0, kStartPosition);
    SetPointerColor(clBlack);
    SetPanelText(2, kStartZoom);
}

void TMainStatusBar::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    for (int panel = 0; panel < kPanelCount; ++panel)
        if (event->rect().intersects(PanelRect(panel)))
            StatusBarDrawPanel(painter, panel);
}

void TMainStatusBar::StatusBarDrawPanel(QPainter& painter, int panel)
{
    const QRect r = PanelRect(panel);
    // A sunken panel: darker edge at the top and left.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    const QRect inside = r.adjusted(1, 1, -1, -1);
    if (panel == 1) {
        PaintColorCell(painter, inside, FPointerColor);
        return;
    }
    painter.fillRect(inside, palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::WindowText));
    const Qt::Alignment align = panel == 2 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(inside.adjusted(2, 0, -2, 0), align | Qt::TextSingleLine,
                     fontMetrics().elidedText(FTexts.at(static_cast<std::size_t>(panel)), Qt::ElideRight,
                                              inside.width() - 4));
}

bool TMainStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    // Long hints of controls and of highlighted menu entries reach the window as status tips.
    if (event->type() == QEvent::StatusTip) {
        SetPanelText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QStatusBar::eventFilter(watched, event);
}

} // namespace tavrin
