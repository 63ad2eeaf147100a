#pragma once
// TFmAbout: the about box, a borderless picture carrying the product's name. A press of any mouse button
// on it closes it, and so do Esc and Enter, so that a keyboard user is never stuck in it.

#include <QDialog>

class QLabel;

namespace tavrin {

class TFmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit TFmAbout(QWidget* owner);

    QLabel& Image1() const { return *FImage1; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* FImage1 = nullptr;
};

} // namespace tavrin
