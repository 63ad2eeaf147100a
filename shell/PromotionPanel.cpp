#include "shell/PromotionPanel.h"

#include "shell/HeadArtwork.h"
#include "shell/ShellOpen.h"

#include <QLabel>
#include <QMouseEvent>

namespace tavrin {

TPromotionPanel::TPromotionPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Panel1"));
    setFixedSize(241, 61);
    setCursor(Qt::PointingHandCursor);
    auto* animator = new QLabel(this);
    animator->setObjectName(QStringLiteral("JvGIFAnimator1"));
    animator->setGeometry(5, 3, 230, 55);
    animator->setPixmap(PromotionPicture());
    animator->setAttribute(Qt::WA_TransparentForMouseEvents); // presses reach the panel
    auto* browser = new QWidget(this);
    browser->setObjectName(QStringLiteral("WBAD"));
    browser->setGeometry(-1000, 0, 168, 61); // created, never shown a page, kept out of sight
}

void TPromotionPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ShellOpen(QString::fromUtf8(WebPages::PromotionPage));
}

} // namespace tavrin
