#include "editor/Cursors.h"

#include <QHash>

namespace tavrin {

namespace {

QHash<int, QCursor>& Registered()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

} // namespace

void RegisterCursor(TCursor shape, const QCursor& cursor) { Registered().insert(static_cast<int>(shape), cursor); }

QCursor CursorFor(TCursor shape)
{
    if (const auto it = Registered().constFind(static_cast<int>(shape)); it != Registered().cend())
        return *it;
    switch (shape) {
    case TCursor::crSizeAll: return Qt::SizeAllCursor;
    case TCursor::crSizeWE: return Qt::SizeHorCursor;
    case TCursor::crSizeNS: return Qt::SizeVerCursor;
    case TCursor::crSizeNWSE: return Qt::SizeFDiagCursor;
    case TCursor::crSizeNESW: return Qt::SizeBDiagCursor;
    case TCursor::crHSplit: return Qt::SplitHCursor;
    case TCursor::crVSplit: return Qt::SplitVCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace tavrin
