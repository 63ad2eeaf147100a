#pragma once
// A rectangle shape: a one-pixel black border filled with a colour, as a swatch.

#include "core/Color.h"

#include <QWidget>

namespace tavrin {

class TColorShape : public QWidget
{
    Q_OBJECT
  public:
    explicit TColorShape(QWidget* parent = nullptr) : QWidget(parent) {}

    TColor Color() const { return FColor; }
    void SetColor(TColor color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TColor FColor = clWhite;
};

} // namespace tavrin
