#pragma once
// The arrangements of the editor windows in the frame: cascade, one above the other (horizontal tile),
// side by side (vertical tile), and minimizing them all. With no editor window each does nothing.

class QMdiArea;
class QMdiSubWindow;

namespace tavrin {

// Each window a title bar's height below and right of the one behind it, all as large as that allows.
void CascadeEditors(QMdiArea& area);
// One above the other, each the frame's full width.
void TileEditorsHorizontally(QMdiArea& area);
// Side by side, each the frame's full height.
void TileEditorsVertically(QMdiArea& area);
// From the last window in the frame's order to the first, whatever each one's state.
void MinimizeAllEditors(QMdiArea& area);
// Makes the window remember whether it was maximized each time it is minimized (by any means), since a
// minimized window's own state no longer says so.
void RememberStateWhenMinimized(QMdiSubWindow& sub);
// A minimized window back in the state it had before (maximized or normal); others are left alone.
void RestoreEditor(QMdiSubWindow& sub);

} // namespace tavrin
