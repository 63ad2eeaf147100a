#include "editor/EditorPopupMenu.h"

#include "editor/Thumbnail.h"
#include "services/ColorCodes.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace tavrin {

namespace {

QColor TextColorOf(const QStyleOptionMenuItem& option)
{
    const bool highlighted = option.state.testFlag(QStyle::State_Selected) && option.state.testFlag(QStyle::State_Enabled);
    return option.palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text);
}

// Text with its top-left corner at `at`, clipped to the item.
void DrawTextAt(QPainter& painter, const QStyleOptionMenuItem& option, QPoint at, const QString& text)
{
    const QRect box(at, option.rect.bottomRight());
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

QAction* ColorItem(QMenu& menu, const QString& caption, int tag, const char* name)
{
    QAction* item = menu.addAction(caption);
    item->setData(tag);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace

TEditorPopupMenu::TEditorPopupMenu(QWidget* parent) : TOwnerDrawMenu(parent)
{
    setObjectName(QStringLiteral("PopupMenu"));
    PMIImgMap = addAction(QStringLiteral("이미지맵 태그 생성"));
    PMImage = addAction(QStringLiteral("이미지 저장(&S)"));
    PMISaveGif = addAction(QStringLiteral("투명 GIF로 저장(&G)"));
    MMICancel = addAction(QStringLiteral("작업 취소(&C)"));
    PMImageView = addAction(QStringLiteral("test")); // never shown: the item draws itself
    PMColorMenu = new QMenu(QStringLiteral("색상 복사"), this);
    PMColorMenu->setObjectName(QStringLiteral("PMColorMenu"));
    PMColorHTML = ColorItem(*PMColorMenu, QStringLiteral("HTML 방식"), ctHtml, "PMColorHTML");
    PMColorRGB = ColorItem(*PMColorMenu, QStringLiteral("RGB 방식"), ctRgb, "PMColorRGB");
    PMColorC = ColorItem(*PMColorMenu, QStringLiteral("C++ 방식"), ctCpp, "PMColorC");
    PMColorDelphi = ColorItem(*PMColorMenu, QStringLiteral("Delphi 방식"), ctDelphi, "PMColorDelphi");
    PMColor = addMenu(PMColorMenu);

    PMIImgMap->setObjectName(QStringLiteral("PMIImgMap"));
    PMImage->setObjectName(QStringLiteral("PMImage"));
    PMISaveGif->setObjectName(QStringLiteral("PMISaveGif"));
    MMICancel->setObjectName(QStringLiteral("MMICancel"));
    PMImageView->setObjectName(QStringLiteral("PMImageView"));
    PMColor->setObjectName(QStringLiteral("PMColor"));
    PMIImgMap->setVisible(false);

    SetDrawItem(PMIImgMap, [this](QPainter& p, const QStyleOptionMenuItem& o) { DrawImgMapItem(p, o); });
    SetDrawItem(PMImageView, [this](QPainter& p, const QStyleOptionMenuItem& o) { DrawPreviewItem(p, o); });
    SetMeasureItem(PMImageView, [](QSize& size) {
        size.setHeight(kPreviewHeight);
        size.setWidth(std::max(size.width(), 5 + kThumbnailSide + 5)); // room for the thumbnail
    });
    SetDrawItem(PMColor, [this](QPainter& p, const QStyleOptionMenuItem& o) { DrawColorItem(p, o); });
}

void TEditorPopupMenu::PressOn(bool onArea, bool rightButton)
{
    PMImageView->setVisible(!onArea);
    if (onArea || rightButton)
        PMIImgMap->setVisible(onArea);
}

const QImage& TEditorPopupMenu::Thumbnail()
{
    if (!FThumbnailMade) {
        FThumbnail = MakeThumbnail(kThumbnailSide, kThumbnailSide, RegionImage ? RegionImage() : QImage(), false);
        FThumbnailMade = true;
    }
    return FThumbnail;
}

void TEditorPopupMenu::DrawImgMapItem(QPainter& painter, const QStyleOptionMenuItem& option) const
{
    QFont font = QApplication::font();
    font.setPointSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(TextColorOf(option));
    DrawTextAt(painter, option, option.rect.topLeft() + QPoint(6, 3), QStringLiteral("이미지맵  태그입력"));
}

void TEditorPopupMenu::DrawPreviewItem(QPainter& painter, const QStyleOptionMenuItem& option)
{
    const QImage& thumbnail = Thumbnail();
    const QSize size = RegionSize ? RegionSize() : QSize();
    painter.setPen(TextColorOf(option));
    const QPoint r = option.rect.topLeft();
    DrawTextAt(painter, option, r + QPoint(7, 4), QStringLiteral("크기 %1x%2").arg(size.width()).arg(size.height()));
    DrawTextAt(painter, option, r + QPoint(7, 22), QStringLiteral("이미지 미리보기"));
    painter.drawImage(r + QPoint(5, 37), thumbnail);
}

void TEditorPopupMenu::DrawColorItem(QPainter& painter, const QStyleOptionMenuItem& option) const
{
    painter.setPen(TextColorOf(option));
    const QPoint r = option.rect.topLeft();
    DrawTextAt(painter, option, r + QPoint(30, 3), QStringLiteral("색상 복사"));
    // An 18 x 18 swatch: the colour inside a one-pixel silver border.
    const std::uint32_t v = ColorValue(MouseColor ? MouseColor() : clWhite);
    const QColor colour(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>(v >> 16));
    const QRect swatch(r + QPoint(5, 0), QSize(18, 18));
    painter.fillRect(swatch, colour);
    painter.setPen(QColor(0xC0, 0xC0, 0xC0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(swatch.adjusted(0, 0, -1, -1));
}

} // namespace tavrin
