#include "shell/Readouts.h"

#include "editor/FmEditor.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"

namespace tavrin {

void SubscribeReadouts(TFmEditor& editor, TToolPanel& panel, TMainStatusBar& bar)
{
    editor.OnChangeMousePosition = [&panel, &bar](TFmEditor&) { bar.EditorMousePosition(panel.ActiveEditor()); };
    editor.OnChangeScal = [&panel, &bar](TFmEditor&) { bar.EditorScaleChanged(panel.ActiveEditor()); };
    editor.OnImgMouseDown = [&panel](TFmEditor&) { panel.EditorImgMouseDown(); };
}

} // namespace tavrin
