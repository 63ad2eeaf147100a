#include "shell/Readouts.h"

#include "editor/FmEditor.h"
#include "shell/StatusBar.h"
#include "shell/ToolPanel.h"

namespace tavrin {

void SubscribeReadouts(TFmEditor& editor, TToolPanel& panel, TMainStatusBar& bar)
{
    editor.OnChangeMousePosition = [&panel, &bar](TFmEditor&) { bar.EditorMousePosition(panel.ActiveEditor()); };
    editor.OnChangeScal = [&panel, &bar](TFmEditor&) {
        bar.EditorScaleChanged(panel.ActiveEditor());
        bar.EditorMousePosition(panel.ActiveEditor());
    };
    editor.OnImgMouseDown = [&panel](TFmEditor&) { panel.EditorImgMouseDown(); };
}

void ShowReadouts(TToolPanel& panel, TMainStatusBar& bar)
{
    panel.ShowEditor();
    bar.ShowEditor(panel.ActiveEditor());
}

} // namespace tavrin
