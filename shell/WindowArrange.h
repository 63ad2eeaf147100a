#pragma once
// The arrangements of the editor windows in the frame: cascade, one above the other (horizontal tile),
// side by side (vertical tile), and minimizing them all. With no editor window each does nothing.

class QMdiArea;

namespace tavrin {

void CascadeEditors(QMdiArea& area);
// One above the other, each the frame's full width.
void TileEditorsHorizontally(QMdiArea& area);
// Side by side, each the frame's full height.
void TileEditorsVertically(QMdiArea& area);
// From the last window in the frame's order to the first.
void MinimizeAllEditors(QMdiArea& area);

} // namespace tavrin
