#pragma once
// TMainStatusBar (`StatusBar`): the main window's status bar with three panels drawn by the bar
// itself: the pointer position or the long hint of what the pointer is over (200 wide, left), the
// colour under the pointer (20 wide, filled with that colour) and the zoom factor (100 wide,
// centred). A change repaints only the panel it touches, so pointer moves during a drag cost
// next to nothing.

#include "core/Color.h"

#include <QStatusBar>

#include <array>

namespace tavrin {

class TFmEditor;

class TMainStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    static constexpr int kPanelCount = 3;

    // Shows the long hints that reach `window` (a control's or a highlighted menu entry's).
    explicit TMainStatusBar(QWidget* window);

    QString PanelText(int panel) const { return FTexts.at(static_cast<std::size_t>(panel)); }
    void SetPanelText(int panel, const QString& text);
    TColor PointerColor() const { return FPointerColor; }
    void SetPointerColor(TColor color);
    QRect PanelRect(int panel) const;

    // Read-outs of the active editor window (none: nothing happens).
    void EditorMousePosition(TFmEditor* active);
    void EditorScaleChanged(TFmEditor* active);
    // Both read-outs of the editor window brought forward; with none, the texts and colour of the start.
    void ShowEditor(TFmEditor* active);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void StatusBarDrawPanel(QPainter& painter, int panel);

    std::array<QString, kPanelCount> FTexts;
    TColor FPointerColor = clBlack; // black until the pointer first moves over a picture
};

} // namespace tavrin
