// Zoom, the image size, and the rulers that follow the view and create guides.
#include "editor/FmEditor.h"

#include "core/InfoLayer.h"
#include "core/RoundEven.h"
#include "editor/Image32.h"
#include "editor/RsRuler.h"

#include <QPalette>
#include <QScrollArea>
#include <QScrollBar>

#include <cstdint>

namespace tavrin {

namespace {

// Qt refuses widgets larger than this; zooming in stops before the view would exceed it.
constexpr long double kMaxWidgetSize = QWIDGETSIZE_MAX - 2;

float RatioOf(int extentDifference, int position)
{
    return position == 0 ? 1.0f : static_cast<float>(static_cast<double>(extentDifference) / position);
}

// Where a ruler starts counting so that every mark stands on the view column (or row) that shows the
// image pixel it names. `start` is the ruler position of view position 0, `offset` the image pixel the
// ruler counts from, `imageExtent` and `viewExtent` the picture's size in image and in view pixels.
//
// The view shows image pixel p from the first column at or after p x viewExtent / imageExtent on (a column
// shows the pixel under its left edge), while the ruler puts a mark in the column that holds the mark's
// position. The positions of whole pixels are multiples of 1 / imageExtent, so a start moved on by just
// under one column, 1 - 1 / (2 x imageExtent), makes the two columns the same.
double RulerOrigin(int start, int offset, int imageExtent, int viewExtent)
{
    if (imageExtent <= 0)
        return start; // no picture to line up with
    const std::int64_t n = std::int64_t{offset} * viewExtent; // offset's view position, times imageExtent
    std::int64_t whole = n / imageExtent;
    std::int64_t part = n % imageExtent;
    if (part < 0) {
        part += imageExtent;
        --whole;
    }
    return static_cast<double>(start + whole + 1) + (static_cast<double>(part) - 0.5) / imageExtent;
}

void Restore(QScrollBar* bar, int extentDifference, float ratio)
{
    if (bar->value() == 0)
        return;
    // A zero ratio (the view was no larger than the box) has no proportional place: go to the start.
    bar->setValue(ratio == 0.0f ? 0 : RoundEven(static_cast<long double>(extentDifference) / ratio));
}

} // namespace

void TFmEditor::ChangeScale(float step)
{
    QScrollBar* hs = FScrollBox->horizontalScrollBar();
    QScrollBar* vs = FScrollBox->verticalScrollBar();
    const float ratioX = RatioOf(FImage->width() - FScrollBox->width(), hs->value());
    const float ratioY = RatioOf(FImage->height() - FScrollBox->height(), vs->value());
    const QPoint scrolled(hs->value(), vs->value());

    const float old = FImage->Scale();
    float scale = step == 0 ? 1.0f : static_cast<float>(static_cast<double>(old) + static_cast<double>(step));
    scale = std::max(scale, 0.001f);
    if (0.2 > static_cast<double>(scale))
        scale = 0.2f;
    const TBitmap32& b = FImage->Bitmap();
    if (scale > old && (b.Width() * static_cast<long double>(scale) > kMaxWidgetSize ||
                        b.Height() * static_cast<long double>(scale) > kMaxWidgetSize))
        return; // the view would outgrow what the toolkit can show
    FImage->SetScale(scale);

    UpdateImageSize();
    const int percent = GetScalePercent();
    for (TRsRuler* r : {FRulerTop, FRulerBottom, FRulerLeft, FRulerRight})
        r->SetScale(percent);
    Restore(hs, FImage->width() - FScrollBox->width(), ratioX);
    Restore(vs, FImage->height() - FScrollBox->height(), ratioY);
    FImgEditor->RelayoutGuides();
    UpdateRulerOffsets();
    // The pointer has not moved, but the view under it has by as much as the scroll positions did.
    FMouseX += hs->value() - scrolled.x();
    FMouseY += vs->value() - scrolled.y();
    if (OnChangeScal)
        OnChangeScal(*this);
}

void TFmEditor::UpdateImageSize()
{
    const TBitmap32& b = FImage->Bitmap();
    if (b.Empty())
        return; // an empty picture keeps the view's white background, as the view's own sizing does
    FImage->resize(FImgEditor->ImageToView(static_cast<float>(b.Width())),
                   FImgEditor->ImageToView(static_cast<float>(b.Height())));
}

void TFmEditor::UpdateRulerOffsets()
{
    const int hPos = FScrollBox->horizontalScrollBar()->value();
    const int vPos = FScrollBox->verticalScrollBar()->value();
    const int h = FImgEditor->ViewToImage(static_cast<float>(hPos));
    const int v = FImgEditor->ViewToImage(static_cast<float>(vPos));
    // Where view position 0 lies along each ruler: the rulers start level with the scroll box, whose
    // content holds the view a little way in.
    const QPoint box = FScrollBox->viewport()->mapTo(FPanelWindow, QPoint(0, 0)) + FImage->pos() - QPoint(hPos, vPos);
    const TRect shown = FImage->Layers().Geometry().BitmapRect;
    const TBitmap32& b = FImage->Bitmap();
    const double scale = FImage->Scale();
    for (TRsRuler* r : {FRulerTop, FRulerBottom}) {
        r->SetOffset(h);
        r->SetOrigin(RulerOrigin(box.x() - r->x(), h, b.Width(), shown.Width()));
        r->SetMagnification(b.Width() > 0 ? static_cast<double>(shown.Width()) / b.Width() : scale);
    }
    for (TRsRuler* r : {FRulerLeft, FRulerRight}) {
        r->SetOffset(v);
        r->SetOrigin(RulerOrigin(box.y() - r->y(), v, b.Height(), shown.Height()));
        r->SetMagnification(b.Height() > 0 ? static_cast<double>(shown.Height()) / b.Height() : scale);
    }
}

void TFmEditor::SetUpRulers()
{
    const struct
    {
        TRsRuler* ruler;
        TRulerDir dir;
        bool showMinus;
        Qt::CursorShape cursor;
    } settings[] = {
        {FRulerTop, TRulerDir::rdTop, true, Qt::SplitVCursor},
        {FRulerBottom, TRulerDir::rdBottom, true, Qt::SplitVCursor},
        {FRulerLeft, TRulerDir::rdLeft, false, Qt::SplitHCursor},
        {FRulerRight, TRulerDir::rdLeft, false, Qt::SplitHCursor},
    };
    for (const auto& s : settings) {
        TRsRuler& r = *s.ruler;
        r.SetDirection(s.dir);
        r.SetShowMinus(s.showMinus);
        r.setCursor(s.cursor);
        r.SetUnits(TRulerUnit::ruPixel);
        r.SetFlat(false);
        r.SetScaleColor(palette().color(QPalette::Base));
        r.SetTickColor(palette().color(QPalette::WindowText));
        r.SetScaleDir(TRulerScaleDir::rsdNormal);
        r.SetScale(100);
        r.SetHairLine(false);
        r.SetHairLinePos(-1);
        r.SetHairLineStyle(THairLineStyle::hlsLine);
        r.SetColor(Qt::white);
        r.SetOffset(0);
        if (IsHorizontal(s.dir)) {
            r.setFixedHeight(20);
            r.setMinimumWidth(0);
        } else {
            r.setFixedWidth(20);
            r.setMinimumHeight(0);
        }
    }
    ConnectRuler(*FRulerTop, true, false);
    ConnectRuler(*FRulerBottom, true, true);
    ConnectRuler(*FRulerLeft, false, false);
    ConnectRuler(*FRulerRight, false, true);
}

void TFmEditor::ConnectRuler(TRsRuler& ruler, bool horizontalGuide, bool farEdge)
{
    connect(&ruler, &TRsRuler::OnMouseDown, this, [this, horizontalGuide, farEdge](TMouseButton, TShiftState, int, int) {
        const TBitmap32& b = FImage->Bitmap();
        if (horizontalGuide)
            FImgEditor->AddHorizontalGuide(farEdge ? b.Height() - 4 : 2, b.Width());
        else
            FImgEditor->AddVerticalGuide(farEdge ? b.Width() - 4 : 2, b.Height());
    });
    connect(&ruler, &TRsRuler::OnMouseMove, this,
            [this, &ruler](TShiftState shift, int x, int y) { RulerMouseMove(ruler, shift, x, y); });
    connect(&ruler, &TRsRuler::OnMouseUp, this,
            [this](TMouseButton, TShiftState, int, int) { FImgEditor->FDragGuide = nullptr; });
}

// The pointer over a ruler (or dragged on from it) stands over the view point the ruler's own point
// covers on the screen; the move handler gets that point, so a guide lands on the pixel under the pointer.
void TFmEditor::RulerMouseMove(TRsRuler& ruler, TShiftState shift, int x, int y)
{
    const QPoint view = FImage->mapFrom(FPanelWindow, ruler.mapTo(FPanelWindow, QPoint(x, y)));
    ImageMouseMove(shift, view.x(), view.y(), FImgEditor->FDragGuide);
}

} // namespace tavrin
