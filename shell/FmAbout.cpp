#include "shell/FmAbout.h"

#include "shell/HeadArtwork.h"

#include <QKeyEvent>
#include <QLabel>

namespace tavrin {

TFmAbout::TFmAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FmAbout"));
    setWindowTitle(QStringLiteral("정보"));
    setFixedSize(423, 255);
    FImage1 = new QLabel(this);
    FImage1->setObjectName(QStringLiteral("Image1"));
    FImage1->setGeometry(0, 0, 423, 254);
    FImage1->setPixmap(AboutPicture());
    // The picture lets presses through to the box.
    FImage1->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Shown, it centres itself over its owner.
}

void TFmAbout::mousePressEvent(QMouseEvent*) { accept(); }

void TFmAbout::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        accept();
        break;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace tavrin
