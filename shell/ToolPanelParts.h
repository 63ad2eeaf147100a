#pragma once
// The small controls of the left tool panel: a picture button that shows one picture of the tool
// image list and reports the pointer, and a square colour swatch.

#include "core/Color.h"

#include <QWidget>

#include <functional>

class QPainter;

namespace tavrin {

// A picture control: it shows picture ImageIndex() of ImageListIcon() at its top-left corner on white
// and leaves what the pointer does to its owner.
class TImgButton : public QWidget
{
    Q_OBJECT
public:
    TImgButton(int tag, QWidget* parent);

    int Tag() const { return FTag; }
    int ImageIndex() const { return FImageIndex; }
    // Shows picture `index`; repaints only when it changes.
    void SetImageIndex(int index);

    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;
    std::function<void()> OnMouseDown; // any button
    std::function<void()> OnMouseUp;   // any button, after OnClick
    std::function<void()> OnClick;     // left press and release over the control

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const int FTag;
    int FImageIndex = 0;
};

// An 18 x 18 square with a silver outline filled with one colour; any press is reported. The colour
// no pixel has (clInvalidColor) shows as white crossed by a red diagonal.
class TColorSwatch : public QWidget
{
    Q_OBJECT
public:
    TColorSwatch(TColor color, QWidget* parent);

    TColor BrushColor() const { return FColor; }
    void SetBrushColor(TColor color);

    std::function<void()> OnMouseDown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TColor FColor;
};

// Fills `rect` with a platform colour, or with the "no colour" sign for clInvalidColor.
void PaintColorCell(QPainter& painter, const QRect& rect, TColor color);

// The Qt colour of a plain platform colour value.
QColor ToQColor(TColor color);

} // namespace tavrin
