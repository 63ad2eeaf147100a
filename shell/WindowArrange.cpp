// Window arrangements of the frame. QMdiArea's own tiling makes a grid; the frame offers rows and
// columns instead, in the frame's order of windows, minimized windows left where they are.
#include "shell/WindowArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace tavrin {

namespace {

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
    if (!ArrangeableWindows(area).isEmpty())
        area.cascadeSubWindows();
}

void TileEditorsHorizontally(QMdiArea& area) { Tile(area, true); }

void TileEditorsVertically(QMdiArea& area) { Tile(area, false); }

void MinimizeAllEditors(QMdiArea& area)
{
    const QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        (*it)->showMinimized();
}

} // namespace tavrin
