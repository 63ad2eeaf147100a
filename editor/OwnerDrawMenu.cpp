#include "editor/OwnerDrawMenu.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace tavrin {

namespace {

// The application's style, except that items with handlers of their own are drawn and measured by them.
class TOwnerDrawStyle : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* menu = qobject_cast<const TOwnerDrawMenu*>(widget);
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        const TOwnerDrawMenu::TDrawItem* draw = menu && item ? menu->DrawItemNow() : nullptr;
        if (element != CE_MenuItem || !draw || !*draw) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionMenuItem panel = *item; // the usual panel and arrow, without the text
        panel.text.clear();
        panel.icon = QIcon();
        QProxyStyle::drawControl(element, &panel, painter, widget);
        painter->save();
        painter->setClipRect(item->rect);
        (*draw)(*painter, *item);
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contents,
                           const QWidget* widget) const override
    {
        QSize size = QProxyStyle::sizeFromContents(type, option, contents, widget);
        const auto* menu = qobject_cast<const TOwnerDrawMenu*>(widget);
        if (type == CT_MenuItem && menu)
            if (const TOwnerDrawMenu::TMeasureItem* measure = menu->MeasureItemNow(); measure && *measure)
                (*measure)(size);
        return size;
    }
};

} // namespace

TOwnerDrawMenu::TOwnerDrawMenu(QWidget* parent) : QMenu(parent)
{
    auto* style = new TOwnerDrawStyle;
    style->setParent(this); // owned by the menu, which is the only widget using it
    setStyle(style);
}

TOwnerDrawMenu::~TOwnerDrawMenu()
{
    setStyle(nullptr); // back to the application's style before our style, a child, goes
}

void TOwnerDrawMenu::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const
{
    QMenu::initStyleOption(option, action);
    FItemNow = action;
}

const TOwnerDrawMenu::TDrawItem* TOwnerDrawMenu::DrawItemNow() const
{
    const auto found = FDraw.find(FItemNow);
    return found == FDraw.end() ? nullptr : &found->second;
}

const TOwnerDrawMenu::TMeasureItem* TOwnerDrawMenu::MeasureItemNow() const
{
    const auto found = FMeasure.find(FItemNow);
    return found == FMeasure.end() ? nullptr : &found->second;
}

} // namespace tavrin
