#pragma once
// Pointer shapes of the editing core as Qt cursors. Custom shapes (the two zoom cursors, 101 and
// 102) are registered by the main window at start-up; unregistered ones fall back to the arrow.

#include "core/Input.h"

#include <QCursor>

namespace tavrin {

QCursor CursorFor(TCursor shape);
void RegisterCursor(TCursor shape, const QCursor& cursor);

} // namespace tavrin
