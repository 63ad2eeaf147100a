#include "shell/ToolPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <array>
#include <cmath>
#include <functional>

namespace tavrin {

namespace {

using TMotif = std::function<void(QPainter&)>;

const QColor kInk(0x30, 0x30, 0x30);
const QColor kMapInk(0x1F, 0x5F, 0x8F);

void DrawArrowPointer(QPainter& p)
{
    const QPolygonF arrow{{11.5, 3.5},  {11.5, 17.5}, {14.5, 14.5}, {16.8, 19.5},
                          {18.8, 18.6}, {16.6, 13.7}, {20.5, 13.5}};
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(kInk);
    p.drawPolygon(arrow);
    p.setPen(QPen(kInk, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(arrow);
}

void DrawDashedRectangle(QPainter& p)
{
    QPen pen(kInk, 1.0);
    pen.setDashPattern({2, 2});
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(7.5, 5.5, 16, 12));
}

void DrawMagnet(QPainter& p)
{
    QPainterPath u;
    u.moveTo(10, 5);
    u.lineTo(10, 11);
    u.arcTo(QRectF(10, 5.5, 11, 11), 180, 180);
    u.lineTo(21, 5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(u);
    p.setPen(QPen(QColor(0x90, 0x90, 0x98), 4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(10, 3), QPointF(10, 6.5));
    p.drawLine(QPointF(21, 3), QPointF(21, 6.5));
}

void DrawFilledSquare(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kMapInk);
    p.drawRect(QRectF(9, 5, 13, 13));
}

void DrawFilledCircle(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kMapInk);
    p.drawEllipse(QRectF(8.5, 4.5, 14, 14));
}

void DrawStar(QPainter& p)
{
    QPolygonF star;
    const QPointF centre(15.5, 12);
    for (int i = 0; i < 10; ++i) {
        const double radius = i % 2 == 0 ? 8.5 : 3.6;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        star << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kMapInk);
    p.drawPolygon(star);
}

enum class TLensMark { None, Plus, Minus };

void DrawMagnifier(QPainter& p, TLensMark mark)
{
    const QPointF centre(13.5, 10);
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 14.5), QPointF(22.5, 19));
    p.setPen(QPen(kInk, 1.6));
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 200));
    p.drawEllipse(centre, 6, 6);
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::FlatCap));
    if (mark != TLensMark::None)
        p.drawLine(centre + QPointF(-3.2, 0), centre + QPointF(3.2, 0));
    if (mark == TLensMark::Plus)
        p.drawLine(centre + QPointF(0, -3.2), centre + QPointF(0, 3.2));
}

// The ground of a selected picture, by group: grey, pink, green, blue.
QColor SelectedGround(int button)
{
    if (button == 0)
        return QColor(0xC8, 0xC8, 0xC8);
    if (button <= 2)
        return QColor(0xF9, 0xC6, 0xD6);
    if (button <= 5)
        return QColor(0xBF, 0xE8, 0xB8);
    return QColor(0xBC, 0xD6, 0xF5);
}

enum class TState { Normal, Hover, Selected };

QImage ButtonPicture(const TMotif& motif, TState state, int button)
{
    QImage image(kToolPictureWidth, kToolPictureHeight, QImage::Format_RGB32);
    const QRectF frame(0.5, 0.5, kToolPictureWidth - 1, kToolPictureHeight - 1);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (state) {
    case TState::Normal:
        image.fill(Qt::white);
        break;
    case TState::Hover:
        image.fill(QColor(0xF4, 0xF6, 0xFA));
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::white);
        p.drawLine(0, 0, kToolPictureWidth - 1, 0);
        p.drawLine(0, 0, 0, kToolPictureHeight - 1);
        p.setPen(QColor(0x90, 0x98, 0xA8));
        p.drawLine(0, kToolPictureHeight - 1, kToolPictureWidth - 1, kToolPictureHeight - 1);
        p.drawLine(kToolPictureWidth - 1, 0, kToolPictureWidth - 1, kToolPictureHeight - 1);
        p.setRenderHint(QPainter::Antialiasing);
        break;
    case TState::Selected: {
        const QColor ground = SelectedGround(button);
        image.fill(ground);
        p.setPen(QPen(ground.darker(150), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(frame, 2, 2);
        break;
    }
    }
    motif(p);
    return image;
}

std::vector<QImage> DrawImageList()
{
    const std::array<TMotif, 9> motifs{
        DrawArrowPointer,
        DrawDashedRectangle,
        DrawMagnet,
        DrawFilledSquare,
        DrawFilledCircle,
        DrawStar,
        [](QPainter& p) { DrawMagnifier(p, TLensMark::Plus); },
        [](QPainter& p) { DrawMagnifier(p, TLensMark::Minus); },
        [](QPainter& p) { DrawMagnifier(p, TLensMark::None); },
    };
    std::vector<QImage> list;
    list.reserve(kToolPictureCount);
    for (int button = 0; button < 9; ++button)
        for (TState state : {TState::Normal, TState::Hover, TState::Selected})
            list.push_back(ButtonPicture(motifs[static_cast<std::size_t>(button)], state, button));
    return list;
}

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

const std::vector<QImage>& ImageListIcon()
{
    static const std::vector<QImage> list = DrawImageList();
    return list;
}

QImage PositionIconPicture()
{
    QImage image = Transparent(17, 17);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kInk, 1.4));
    p.drawLine(QPointF(8.5, 3), QPointF(8.5, 14));
    p.drawLine(QPointF(3, 8.5), QPointF(14, 8.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{{8.5, 0}, {11.5, 4}, {5.5, 4}});
    p.drawPolygon(QPolygonF{{8.5, 17}, {11.5, 13}, {5.5, 13}});
    p.drawPolygon(QPolygonF{{0, 8.5}, {4, 5.5}, {4, 11.5}});
    p.drawPolygon(QPolygonF{{17, 8.5}, {13, 5.5}, {13, 11.5}});
    return image;
}

QImage GuideIconPicture()
{
    QImage image = Transparent(17, 13);
    QPainter p(&image);
    QPen dotted(QColor(0x00, 0x80, 0x00), 1.0);
    dotted.setDashPattern({2, 1});
    p.setPen(dotted);
    p.drawLine(QPointF(8.5, 0), QPointF(8.5, 13));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{{1, 6.5}, {6, 2.5}, {6, 10.5}});
    p.drawPolygon(QPolygonF{{16, 6.5}, {11, 2.5}, {11, 10.5}});
    return image;
}

QImage MarkerPicture()
{
    QImage image = Transparent(7, 4);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xE0, 0x10, 0x10));
    p.drawPolygon(QPolygonF{{0, 0}, {7, 0}, {3.5, 4}});
    return image;
}

QImage SectionLabelPicture(TToolSection section, int width, int height)
{
    struct TLook
    {
        QColor Plate;
        const char* Text;
    };
    const TLook look = section == TToolSection::Cut    ? TLook{QColor(0xD0, 0x30, 0x30), "자르기"}
                       : section == TToolSection::Link ? TLook{QColor(0x2E, 0x8B, 0x3A), "링크"}
                                                       : TLook{QColor(0x2F, 0x66, 0xC0), "보기"};
    QImage image = Transparent(width, height);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(look.Plate);
    p.drawRoundedRect(QRectF(1, 0, width - 2, height), 2, 2);
    QFont font;
    font.setPixelSize(height - 1);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, width, height), Qt::AlignCenter, QString::fromUtf8(look.Text));
    return image;
}

} // namespace tavrin
