#pragma once
// The main window's read-outs of its editor windows: pointer position and colour, zoom factor, the last
// left press and the tool. Each reads the active editor window, not the one that sent the notification.

namespace tavrin {

class TFmEditor;
class TMainStatusBar;
class TToolPanel;

// Subscribes the tool panel and status bar to the editor window's notifications. A zoom refreshes the
// pointer read-out too: the picture has moved under the pointer.
void SubscribeReadouts(TFmEditor& editor, TToolPanel& panel, TMainStatusBar& bar);

// Shows the active editor window's state in every read-out, as when it is brought forward or its picture
// changes; with no editor window, what they show at start.
void ShowReadouts(TToolPanel& panel, TMainStatusBar& bar);

} // namespace tavrin
