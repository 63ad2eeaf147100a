// The editor window's keys and wheel.
#include "editor/FmEditor.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace tavrin {

void TFmEditor::ToggleZoomTool()
{
    SetToolMode(FImgEditor->FToolMode == TToolMode::tmZoomIn ? TToolMode::tmNone : TToolMode::tmZoomIn);
}

void TFmEditor::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool keypad = mods.testFlag(Qt::KeypadModifier);
    TImgEditor& doc = *FImgEditor;
    switch (event->key()) {
    case Qt::Key_Left: Nudge(-1, 0); break;
    case Qt::Key_Up: Nudge(0, -1); break;
    case Qt::Key_Right: Nudge(1, 0); break;
    case Qt::Key_Down: Nudge(0, 1); break;
    case Qt::Key_Delete: doc.DeleteLastLayer(); break;
    case Qt::Key_A:
        if (doc.FChosenTool == TToolMode::tmSelect) {
            doc.FChosenTool = TToolMode::tmNone;
            doc.FToolMode = TToolMode::tmNone;
        } else {
            SetToolMode(TToolMode::tmSelect);
        }
        break;
    case Qt::Key_Z:
        if (mods.testFlag(Qt::ControlModifier))
            doc.DeleteLastLayer();
        else if (!mods.testFlag(Qt::ShiftModifier) && !mods.testFlag(Qt::AltModifier))
            ToggleZoomTool();
        break;
    case Qt::Key_Plus:
        if (keypad)
            ChangeScale(0.1f);
        break;
    case Qt::Key_Minus:
        if (keypad)
            ChangeScale(-0.1f);
        break;
    case Qt::Key_Slash:
        if (keypad)
            ChangeScale(0);
        break;
    default: break;
    }
    // Keys are seen, never consumed: the frame's shortcuts still get them.
    event->ignore();
}

void TFmEditor::wheelEvent(QWheelEvent* event)
{
    FWheelDelta += event->angleDelta().y();
    while (FWheelDelta >= 120) {
        FWheelDelta -= 120;
        ChangeScale(0.1f);
    }
    while (FWheelDelta <= -120) {
        FWheelDelta += 120;
        ChangeScale(-0.1f);
    }
    event->accept();
}

} // namespace tavrin
