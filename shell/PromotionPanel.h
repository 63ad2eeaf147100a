#pragma once
// The promotion panel at the right of the header band: a logo banner that opens the product's news page
// in the user's web browser when pressed, and the embedded browser place, kept out of sight.

#include <QWidget>

class QLabel;

namespace tavrin {

class TPromotionPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TPromotionPanel(QWidget* parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace tavrin
