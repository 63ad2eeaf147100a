// Artwork of the main window. Glyphs are drawn in a 32 x 32 design square and scaled into place, so the
// header pictures and the drop-down pictures share their shapes.
#include "shell/HeadArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace tavrin {

namespace {

const QColor kInk(0x33, 0x3D, 0x4A);
const QColor kBlue(0x2F, 0x6D, 0xB5);
const QColor kPaleBlue(0xD8, 0xE8, 0xF8);
const QColor kPaper(Qt::white);

QFont LabelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPixmap Transparent(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QPen Outline(double width = 1.6) { return QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void Page(QPainter& p, QRectF r, double fold)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void TextLines(QPainter& p, QRectF r, int count)
{
    p.setPen(QPen(QColor(0x9A, 0xA8, 0xB8), 1.4));
    for (int i = 0; i < count; ++i) {
        const double y = r.top() + 4 + i * 4;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3 - (i % 2) * 3, y));
    }
}

void Badge(QPainter& p, QPointF centre, QColor colour, bool plus)
{
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(colour);
    p.drawEllipse(centre, 6.5, 6.5);
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-3.2, 0), centre + QPointF(3.2, 0));
    if (plus)
        p.drawLine(centre + QPointF(0, -3.2), centre + QPointF(0, 3.2));
}

void GlyphNew(QPainter& p, bool hot)
{
    Page(p, QRectF(6, 2, 17, 25), 6);
    Badge(p, QPointF(23, 23), hot ? QColor(0x1F, 0xA3, 0x4A) : QColor(0x3C, 0x9A, 0x55), true);
}

void GlyphOpen(QPainter& p, bool hot)
{
    QPainterPath back;
    back.moveTo(3, 7);
    back.lineTo(11, 7);
    back.lineTo(14, 10);
    back.lineTo(27, 10);
    back.lineTo(27, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.setPen(Outline());
    p.setBrush(hot ? QColor(0xE9, 0xA8, 0x2E) : QColor(0xD9, 0x9B, 0x35));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(3, 27);
    front.lineTo(8, 15);
    front.lineTo(31, 15);
    front.lineTo(27, 27);
    front.closeSubpath();
    p.setBrush(hot ? QColor(0xFF, 0xD8, 0x6A) : QColor(0xF6, 0xCB, 0x66));
    p.drawPath(front);
}

void GlyphCopy(QPainter& p, bool hot)
{
    const QRectF back(4, 3, 15, 19), front(13, 9, 15, 19);
    p.setPen(Outline());
    p.setBrush(hot ? kPaleBlue : QColor(0xE6, 0xEC, 0xF2));
    p.drawRect(back);
    p.setBrush(kPaper);
    p.drawRect(front);
    TextLines(p, front, 4);
}

void GlyphPaste(QPainter& p, bool hot)
{
    p.setPen(Outline());
    p.setBrush(hot ? QColor(0xC0, 0x86, 0x4A) : QColor(0xA8, 0x76, 0x45));
    p.drawRoundedRect(QRectF(5, 5, 22, 25), 2.5, 2.5);
    const QRectF paper(9, 10, 14, 17);
    p.setBrush(kPaper);
    p.drawRect(paper);
    TextLines(p, paper, 3);
    p.setPen(Outline(1.3));
    p.setBrush(QColor(0xC9, 0xD0, 0xD8));
    p.drawRoundedRect(QRectF(11, 2.5, 10, 5.5), 1.5, 1.5);
}

void Disk(QPainter& p, bool hot, bool chequered)
{
    p.setPen(Outline());
    p.setBrush(hot ? QColor(0x2A, 0x7B, 0xD4) : kBlue);
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xD5, 0xDB, 0xE2));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(17, 5.5, 3, 5));
    const QRectF label(8, 16, 16, 12);
    p.setPen(Outline(1.2));
    p.setBrush(kPaper);
    p.drawRect(label);
    if (chequered) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xB8, 0xBE, 0xC6));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                if ((row + col) % 2 == 0)
                    p.drawRect(QRectF(label.left() + col * 4, label.top() + row * 4, 4, 4));
    } else {
        TextLines(p, QRectF(label.left(), label.top() - 1, label.width(), label.height()), 2);
    }
}

void Window(QPainter& p, QRectF r, bool hot)
{
    p.setPen(Outline(1.3));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(hot ? QColor(0x2A, 0x7B, 0xD4) : kBlue);
    p.drawRect(QRectF(r.left() + 0.7, r.top() + 0.7, r.width() - 1.4, 3.6));
}

void GlyphCascade(QPainter& p, bool hot)
{
    Window(p, QRectF(3, 3, 17, 13), hot);
    Window(p, QRectF(8, 9, 17, 13), hot);
    Window(p, QRectF(13, 15, 17, 13), hot);
}

void GlyphTileHorizontal(QPainter& p, bool hot)
{
    Window(p, QRectF(4, 4, 24, 11), hot);
    Window(p, QRectF(4, 17, 24, 11), hot);
}

void GlyphTileVertical(QPainter& p, bool hot)
{
    Window(p, QRectF(4, 4, 11, 24), hot);
    Window(p, QRectF(17, 4, 11, 24), hot);
}

// Lens sign: 0 none, 1 plus, -1 minus.
void GlyphMagnifier(QPainter& p, bool hot, int sign)
{
    p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(Outline(2.2));
    p.setBrush(hot ? QColor(0xC4, 0xE0, 0xFF) : kPaleBlue);
    p.drawEllipse(QPointF(13, 13), 9.5, 9.5);
    if (sign == 0)
        return;
    p.setPen(QPen(kBlue, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.5, 13), QPointF(17.5, 13));
    if (sign > 0)
        p.drawLine(QPointF(13, 8.5), QPointF(13, 17.5));
}

using TGlyph = void (*)(QPainter&, bool);

void DrawGlyph(QPainter& p, TGlyph glyph, QRectF box, bool hot)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.topLeft());
    p.scale(box.width() / 32.0, box.height() / 32.0);
    glyph(p, hot);
    p.restore();
}

struct THeadGlyph
{
    TGlyph Glyph;
    const char* Label;
};

const std::array<THeadGlyph, 7> kHeadGlyphs{{
    {GlyphNew, "새 이미지"},
    {GlyphOpen, "열기"},
    {GlyphCopy, "복사"},
    {GlyphPaste, "붙여넣기"},
    {[](QPainter& p, bool hot) { Disk(p, hot, false); }, "저장"},
    {GlyphCascade, "정렬"},
    {[](QPainter& p, bool hot) { GlyphMagnifier(p, hot, 0); }, "보기"},
}};

const std::array<TGlyph, kPopupPictureCount> kPopupGlyphs{{
    [](QPainter& p, bool hot) { Disk(p, hot, true); },
    [](QPainter& p, bool hot) { Disk(p, hot, false); },
    GlyphTileHorizontal,
    GlyphTileVertical,
    GlyphCascade,
    [](QPainter& p, bool hot) { GlyphMagnifier(p, hot, 1); },
    [](QPainter& p, bool hot) { GlyphMagnifier(p, hot, 0); },
    [](QPainter& p, bool hot) { GlyphMagnifier(p, hot, -1); },
}};

void Gradient(QPainter& p, QRectF r, QColor top, QColor bottom)
{
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.fillRect(r, fill);
}

// The product's mark: a picture cut into four by two guide lines, one cell picked out.
void Mark(QPainter& p, QRectF r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(QColor(0xFF, 0xC8, 0x3D));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(r.left() + r.width() * 0.58, r.top() + r.height() * 0.58, r.width() * 0.42 - 1.5,
                      r.height() * 0.42 - 1.5));
    p.setPen(QPen(QColor(0x7F, 0xE0, 0x8A), 1.5, Qt::DashLine));
    p.drawLine(QPointF(r.left() + r.width() * 0.58, r.top() - 3), QPointF(r.left() + r.width() * 0.58, r.bottom() + 3));
    p.drawLine(QPointF(r.left() - 3, r.top() + r.height() * 0.58), QPointF(r.right() + 3, r.top() + r.height() * 0.58));
    p.restore();
}

} // namespace

QPixmap HeadPicture(int index)
{
    QPixmap pixmap = Transparent(52, 46);
    if (index < 0 || index >= kHeadPictureCount)
        return pixmap;
    const bool hot = index >= kHeadPictureHover;
    const THeadGlyph& glyph = kHeadGlyphs[index % kHeadPictureHover];
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (hot) {
        p.setPen(QPen(QColor(0x7F, 0xA7, 0xD8), 1));
        p.setBrush(QColor(0xE4, 0xF0, 0xFC));
        p.drawRoundedRect(QRectF(0.5, 0.5, 51, 45), 4, 4);
    }
    DrawGlyph(p, glyph.Glyph, QRectF(12, 2, 28, 28), hot);
    p.setFont(LabelFont(11, true));
    p.setPen(hot ? QColor(0x10, 0x3C, 0x78) : kInk);
    p.drawText(QRectF(0, 30, 52, 15), Qt::AlignCenter, QString::fromUtf8(glyph.Label));
    return pixmap;
}

QPixmap PopupPicture(int index)
{
    QPixmap pixmap = Transparent(18, 18);
    if (index < 0 || index >= kPopupPictureCount)
        return pixmap;
    QPainter p(&pixmap);
    DrawGlyph(p, kPopupGlyphs[index], QRectF(0, 0, 18, 18), false);
    return pixmap;
}

QPixmap LogoPicture()
{
    QPixmap pixmap(149, 59);
    QPainter p(&pixmap);
    Gradient(p, pixmap.rect(), QColor(0x2B, 0x5F, 0xA6), QColor(0x16, 0x3A, 0x6E));
    Mark(p, QRectF(10, 14, 30, 30));
    p.setPen(Qt::white);
    p.setFont(LabelFont(24, true));
    p.drawText(QRectF(48, 8, 98, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TAVRIN"));
    p.setPen(QColor(0xC8, 0xDC, 0xF4));
    p.setFont(LabelFont(11, false));
    p.drawText(QRectF(49, 36, 98, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("이미지 편집"));
    return pixmap;
}

QPixmap PromotionPicture()
{
    QPixmap pixmap(230, 55);
    QPainter p(&pixmap);
    Gradient(p, pixmap.rect(), QColor(0xFB, 0xFD, 0xFF), QColor(0xE2, 0xEC, 0xF7));
    p.setPen(QColor(0xB7, 0xC8, 0xDC));
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(0x16, 0x3A, 0x6E));
    p.setFont(LabelFont(14, true));
    p.drawText(QRectF(12, 6, 210, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TAVRIN 홈페이지"));
    p.setPen(kInk);
    p.setFont(LabelFont(11, false));
    p.drawText(QRectF(12, 29, 210, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("새 소식과 사용법 보러 가기 ›"));
    return pixmap;
}

QPixmap TipBulbPicture()
{
    QPixmap pixmap = Transparent(41, 43);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(QPointF(18, 14), 16);
    glow.setColorAt(0, QColor(0xFF, 0xF7, 0xC2));
    glow.setColorAt(1, QColor(0xF7, 0xC9, 0x2E));
    p.setPen(QPen(QColor(0x8A, 0x6A, 0x10), 1.5));
    p.setBrush(glow);
    QPainterPath bulb;
    bulb.moveTo(15, 30);
    bulb.cubicTo(15, 24, 7, 21, 7, 14);
    bulb.cubicTo(7, 6, 13, 2, 20.5, 2);
    bulb.cubicTo(28, 2, 34, 6, 34, 14);
    bulb.cubicTo(34, 21, 26, 24, 26, 30);
    bulb.closeSubpath();
    p.drawPath(bulb);
    p.setBrush(QColor(0x9A, 0xA3, 0xAD));
    p.setPen(QPen(QColor(0x5A, 0x62, 0x6B), 1.2));
    p.drawRoundedRect(QRectF(15, 30, 11, 4), 1, 1);
    p.drawRoundedRect(QRectF(15.5, 34, 10, 4), 1, 1);
    p.drawRoundedRect(QRectF(17, 38, 7, 3), 1, 1);
    p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF, 200), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(11, 6, 12, 12), 100 * 16, 70 * 16);
    return pixmap;
}

QPixmap AboutPicture()
{
    QPixmap pixmap(423, 254);
    QPainter p(&pixmap);
    Gradient(p, pixmap.rect(), QColor(0x2B, 0x5F, 0xA6), QColor(0x0F, 0x2A, 0x52));
    p.setRenderHint(QPainter::Antialiasing);
    Mark(p, QRectF(34, 38, 64, 64));
    p.setPen(Qt::white);
    p.setFont(LabelFont(44, true));
    p.drawText(QRectF(120, 30, 290, 54), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TAVRIN"));
    p.setPen(QColor(0xC8, 0xDC, 0xF4));
    p.setFont(LabelFont(16, false));
    p.drawText(QRectF(122, 82, 290, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("이미지 편집 프로그램"));
    p.setPen(QColor(0xE8, 0xF0, 0xFA));
    p.setFont(LabelFont(13, false));
    p.drawText(QRectF(34, 128, 360, 60), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("그림 자르기 · 이미지맵 만들기 · 색상 코드 읽기\n버전 %1")
                   .arg(QStringLiteral(TAVRIN_VERSION)));
    p.setPen(QColor(255, 255, 255, 60));
    p.drawLine(QPointF(34, 206), QPointF(389, 206));
    p.setPen(QColor(0xA9, 0xC0, 0xDE));
    p.setFont(LabelFont(11, false));
    p.drawText(QRectF(34, 214, 355, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("누르거나 Esc, Enter 키로 닫습니다"));
    return pixmap;
}

} // namespace tavrin
