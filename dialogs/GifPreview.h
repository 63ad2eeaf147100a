#pragma once
// The picture of the transparent GIF dialog: a paletted picture scaled to fit the control in both
// directions with its aspect ratio kept (enlarged or shrunk), nearest neighbour, at the top-left; the rest
// of the control shows its background. What is painted is kept, so the colour under the pointer is exactly
// the colour on screen.

#include "ImgLib/GifIndexedWriter.h"
#include "core/Color.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace tavrin {

class TGifPreview : public QWidget
{
    Q_OBJECT
  public:
    explicit TGifPreview(QWidget* parent = nullptr);

    // The picture is read, not copied; it must outlive the control or be replaced. Call again after the
    // picture changes.
    void SetPicture(const TIndexedImage* picture);

    // Where the scaled picture lies in the control (empty without a picture).
    QRect PictureRect() const;
    // The colour shown at (x, y) of the control: the scaled picture's pixel or the background.
    TColor ColorAt(int x, int y) const;
    TColor BackgroundColor() const;

    // A press of any button, in control coordinates.
    std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void Rescale();

    const TIndexedImage* FPicture = nullptr;
    QImage FScaled; // the picture as painted, RGB32
};

} // namespace tavrin
