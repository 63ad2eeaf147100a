// Window arrangements of the frame. QMdiArea's own tiling makes a grid and its cascade gives every window
// its size hint; the frame offers rows, columns and a cascade of large windows instead, minimized windows
// left where they are.
#include "shell/WindowArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QVariant>

#include <algorithm>

namespace tavrin {

namespace {

// Set on a window while it is minimized: whether it was maximized just before.
const char* const kWasMaximized = "tavrinWasMaximized";

QList<QMdiSubWindow*> ArrangeableWindows(const QMdiArea& area)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::CreationOrder))
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    for (QMdiSubWindow* sub : windows)
        if (sub->isMaximized())
            sub->showNormal();
    return windows;
}

// The windows to cascade, the one in front last, so that it stays in front and wholly in view.
QList<QMdiSubWindow*> CascadeOrder(const QMdiArea& area)
{
    const QList<QMdiSubWindow*> arrangeable = ArrangeableWindows(area);
    QList<QMdiSubWindow*> ordered;
    for (QMdiSubWindow* sub : area.subWindowList(QMdiArea::StackingOrder))
        if (arrangeable.contains(sub))
            ordered << sub;
    return ordered;
}

// How far each window of a cascade stands from the one behind it: its title bar's height.
int CascadeStep(const QMdiSubWindow& sub)
{
    QStyleOptionTitleBar option;
    option.initFrom(&sub);
    return sub.style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, &sub);
}

// Where part `index` of `count` starts: the parts differ by one pixel at most and fill `length` exactly.
int PartStart(int length, int count, int index)
{
    return static_cast<int>(static_cast<long long>(length) * index / count);
}

void Tile(QMdiArea& area, bool rows)
{
    const QList<QMdiSubWindow*> windows = ArrangeableWindows(area);
    const int count = static_cast<int>(windows.size());
    const QRect space = area.viewport()->rect();
    for (int i = 0; i < count; ++i) {
        if (rows) {
            const int top = PartStart(space.height(), count, i);
            windows[i]->setGeometry(0, top, space.width(), PartStart(space.height(), count, i + 1) - top);
        } else {
            const int left = PartStart(space.width(), count, i);
            windows[i]->setGeometry(left, 0, PartStart(space.width(), count, i + 1) - left, space.height());
        }
    }
}

} // namespace

void CascadeEditors(QMdiArea& area)
{
    const QList<QMdiSubWindow*> windows = CascadeOrder(area);
    const int count = static_cast<int>(windows.size());
    if (count == 0)
        return;
    const QRect space = area.viewport()->rect();
    // Each window one title bar below and right of the one behind it, every window as large as the
    // cascade leaves room for. Past half the frame the cascade starts again at the corner, so that no
    // window gets smaller than that.
    const int step = std::max(CascadeStep(*windows.front()), 1);
    const int room = std::min(space.width(), space.height()) / 2;
    const int places = std::clamp(room / step + 1, 1, count);
    const QSize size(space.width() - (places - 1) * step, space.height() - (places - 1) * step);
    for (int i = 0; i < count; ++i) {
        const int place = i % places;
        windows[i]->setGeometry(QRect(space.topLeft() + QPoint(place, place) * step, size));
        windows[i]->raise();
    }
}

void TileEditorsHorizontally(QMdiArea& area) { Tile(area, true); }

void TileEditorsVertically(QMdiArea& area) { Tile(area, false); }

void MinimizeAllEditors(QMdiArea& area)
{
    // The frame maximizes the window it activates while the one before was maximized, which would undo
    // each minimizing at once: the windows keep their states while they are minimized one by one.
    const bool keep = area.testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    const QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
    // Only the active window of a maximized frame is maximized itself; every window comes back as the
    // frame showed pictures, maximized then.
    const bool frameMaximized = std::any_of(windows.begin(), windows.end(),
                                            [](const QMdiSubWindow* sub) { return sub->isMaximized(); });
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->isMinimized())
            continue;
        (*it)->showMinimized();
        (*it)->setProperty(kWasMaximized, frameMaximized);
    }
    area.setOption(QMdiArea::DontMaximizeSubWindowOnActivation, keep);
}

void RememberStateWhenMinimized(QMdiSubWindow& sub)
{
    QObject::connect(&sub, &QMdiSubWindow::windowStateChanged, &sub,
                     [&sub](Qt::WindowStates before, Qt::WindowStates now) {
                         if (now.testFlag(Qt::WindowMinimized) && !before.testFlag(Qt::WindowMinimized))
                             sub.setProperty(kWasMaximized, before.testFlag(Qt::WindowMaximized));
                     });
}

void RestoreEditor(QMdiSubWindow& sub)
{
    if (!sub.isMinimized())
        return;
    const QVariant remembered = sub.property(kWasMaximized);
    const bool maximized =
        remembered.isValid() ? remembered.toBool() : sub.windowState().testFlag(Qt::WindowMaximized);
    sub.showNormal();
    if (maximized)
        sub.showMaximized();
}

} // namespace tavrin
