#pragma once
// The colour dialog: Qt's own widget dialog (never the desktop's), with everything that would make
// it write a settings file of its own taken away.

#include "core/Color.h"

#include <optional>

class QColorDialog;
class QWidget;

namespace tavrin {

// Shows the dialog modally, starting at `initial`; the chosen colour, or none when cancelled.
std::optional<TColor> ExecuteColorDialog(QWidget* parent, TColor initial);

// Sets up a dialog as ExecuteColorDialog shows it: Qt's widgets, opaque colours, and no custom
// colours (adding one makes Qt store all of them in a file in the user's configuration folder).
void PrepareColorDialog(QColorDialog& dialog);

} // namespace tavrin
