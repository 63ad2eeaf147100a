#pragma once
// The main window's read-outs of its editor windows: pointer position and colour, zoom factor, and
// the last left press. Each reads the active editor window, not the one that sent the notification.

namespace tavrin {

class TFmEditor;
class TMainStatusBar;
class TToolPanel;

// Subscribes the tool panel and status bar to the editor window's notifications.
void SubscribeReadouts(TFmEditor& editor, TToolPanel& panel, TMainStatusBar& bar);

} // namespace tavrin
