#pragma once
// A pop-up menu whose items may draw themselves. An item with a draw handler is still an ordinary
// menu action: the style first paints its usual panel (normal or highlighted, with the submenu
// arrow), then the handler draws the content; keyboard moves, highlighting and submenus work as in
// every other menu. A measure handler may change an item's size.

#include <QMenu>

#include <functional>
#include <map>

class QStyleOptionMenuItem;

namespace tavrin {

class TOwnerDrawMenu : public QMenu
{
    Q_OBJECT
public:
    // Draws an item's content into option.rect; option.state tells whether it is highlighted.
    using TDrawItem = std::function<void(QPainter&, const QStyleOptionMenuItem&)>;
    using TMeasureItem = std::function<void(QSize&)>;

    explicit TOwnerDrawMenu(QWidget* parent = nullptr);
    ~TOwnerDrawMenu() override;

    void SetDrawItem(const QAction* action, TDrawItem draw) { FDraw[action] = std::move(draw); }
    void SetMeasureItem(const QAction* action, TMeasureItem measure) { FMeasure[action] = std::move(measure); }

    // The handlers of the item the style is drawing or measuring now; null for a plain item.
    const TDrawItem* DrawItemNow() const;
    const TMeasureItem* MeasureItemNow() const;

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

private:
    // The menu prepares the style option of each item right before it draws or measures that item,
    // so the item last prepared is the one the style is working on.
    mutable const QAction* FItemNow = nullptr;
    std::map<const QAction*, TDrawItem> FDraw;
    std::map<const QAction*, TMeasureItem> FMeasure;
};

} // namespace tavrin
