// The view's paint puts the renderer's pixels on the paint device, whether it renders straight into
// the device's memory (32-bit RGB) or through its own buffer (anything else), and only inside the view.
#include "core/BitmapLayer.h"
#include "core/InfoLayer.h"
#include "core/LayerRenderer.h"
#include "core/RubberbandLayer.h"
#include "editor/Image32.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace tavrin;

namespace {

struct PaintedView : ::testing::Test
{
    TImage32 view;

    void SetUp() override
    {
        TBitmap32& b = view.Bitmap();
        b.SetSize(50, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                b.SetPixel(x, y, static_cast<TColor32>(x * 0x050301 + y * 0x010507));
        view.SetScale(2.5f);
        view.BitmapChanged();
        view.resize(150, 110); // wider and taller than the picture: background shows
        TLayerCollection& layers = view.Layers();
        auto* guide = layers.Add<TInfoLayer>();
        guide->Bitmap().SetSize(2, 300);
        guide->Bitmap().Clear(0x000000FF); // alpha 0, painted opaque
        guide->SetBounds({40, 0, 42, 110});
        auto* area = layers.Add<TBitmapLayer>();
        area->SetInImageSpace(true);
        area->Bitmap().SetSize(3, 2);
        area->Bitmap().Clear(0x80FF0000);
        area->Bitmap().SetPixel(1, 1, 0);
        area->Bitmap().DrawMode = TDrawMode::dmBlend;
        area->SetBounds({10, 5, 30, 25});
        layers.Add<TRubberbandLayer>()->SetBounds({60, 20, 120, 90});
    }

    // Renders the view at `offset` into an image of the given format that holds a frame of red around it.
    QImage Rendered(QImage::Format format, QPoint offset)
    {
        QImage image(view.width() + 20, view.height() + 20, format);
        image.fill(Qt::red);
        view.render(&image, offset);
        return image;
    }

    void ExpectView(const QImage& image, QPoint offset)
    {
        TBitmap32 expected;
        RenderView(view.Bitmap(), view.Layers(), {0, 0, view.width(), view.height()}, expected);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QPoint p(x - offset.x(), y - offset.y());
                const QRgb want = view.rect().contains(p) ? expected.Pixel(p.x(), p.y()) : QColor(Qt::red).rgb();
                ASSERT_EQ(image.pixel(x, y) & 0xFFFFFFu, want & 0xFFFFFFu) << x << "," << y; // the colour shown
            }
    }
};

} // namespace

TEST_F(PaintedView, InPlaceAndBufferedPaintsGiveTheRendererPixels)
{
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied})
        for (QPoint offset : {QPoint(0, 0), QPoint(7, 5)}) {
            SCOPED_TRACE(testing::Message() << "format " << format << ", offset " << offset.x());
            ExpectView(Rendered(format, offset), offset);
        }
}

TEST_F(PaintedView, ChangedPictureIsRepaintedNotTakenFromTheCache)
{
    (void)Rendered(QImage::Format_RGB32, {});
    view.Bitmap().FillRect(0, 0, 50, 40, 0xFF00FF00);
    view.BitmapChanged();
    ExpectView(Rendered(QImage::Format_RGB32, {3, 3}), {3, 3});
    view.SetScale(0.7f); // a new zoom samples afresh
    view.BitmapChanged();
    ExpectView(Rendered(QImage::Format_RGB32, {3, 3}), {3, 3});
}
