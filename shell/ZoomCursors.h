#pragma once
// The two zoom cursors: 32 x 32 magnifiers with a plus and a minus, registered as cursors 101 and 102.

#include <QCursor>

namespace tavrin {

QCursor MakeZoomCursor(bool plus);
void RegisterZoomCursors();

} // namespace tavrin
