// Every writer's file read back by readers that are not ours, pixel for pixel where the format is lossless.
#include "ImageTestSupport.h"

#include "ImgLib/BmpWriter.h"
#include "ImgLib/IconWriter.h"
#include "ImgLib/JpegWriter.h"
#include "ImgLib/PcxWriter.h"
#include "ImgLib/PngWriter.h"
#include "ImgLib/QtImageBridge.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <functional>
#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Sharp colour edges, every byte value somewhere, values of 0xC0 and above (PCX counts), a run longer
// than 63 on the top row; alpha 0, which every writer must ignore.
TBitmap32 Pattern(int width, int height)
{
    TBitmap32 b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool stripe = (x / 3 + y / 2) % 2 == 0;
            const auto r = static_cast<std::uint8_t>(stripe ? 255 - x * 7 : x * 13 + y);
            const auto g = static_cast<std::uint8_t>(stripe ? y * 29 : 200);
            const auto bl = static_cast<std::uint8_t>(stripe ? 0xC8 : (x * y) & 0xFF);
            b.SetPixel(x, y, y == 0 ? MakeColor32(0, 0xC8, 0xC8, 0xC8) : MakeColor32(0, r, g, bl));
        }
    return b;
}

TBitmap32 Opaque(TBitmap32 b)
{
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, b.Pixel(x, y) | 0xFF000000u);
    return b;
}

std::string Save(const QTemporaryDir& dir, const std::string& name, const std::string& bytes)
{
    const QString path = dir.filePath(QString::fromStdString(name));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), static_cast<qint64>(bytes.size())) != qint64(bytes.size()))
        return {};
    return path.toStdString();
}

std::optional<TBitmap32> Tool(const char* program, std::initializer_list<const char*> options, const std::string& path)
{
    QStringList arguments;
    for (const char* o : options)
        arguments << o;
    return DecodeWithTool(program, arguments << QString::fromStdString(path));
}

std::optional<TBitmap32> Qt(const std::string& path, const char* format)
{
    QImageReader reader(QString::fromStdString(path), format);
    const QImage image = reader.read();
    if (image.isNull()) return std::nullopt;
    return BitmapFromImage(image);
}

// The PNG inside a one-picture MNG: its chunks between MHDR and MEND behind a PNG signature.
std::string PngInsideMng(const std::string& mng)
{
    const std::size_t mhdrEnd = 8 + 4 + 4 + 28 + 4;
    const std::size_t mendSize = 12;
    if (mng.size() < mhdrEnd + mendSize) return {};
    return std::string("\x89PNG\r\n\x1A\n", 8) + mng.substr(mhdrEnd, mng.size() - mhdrEnd - mendSize);
}

using TWriter = std::function<TWriteResult(const TBitmap32&, std::string&)>;
using TDecoder = std::function<std::optional<TBitmap32>(const std::string& path, const std::string& bytes,
                                                        const QTemporaryDir& dir)>;

struct TWriterCase
{
    const char* Name;
    const char* Extension;
    TWriter Write;
    TDecoder Decode;
    int Tolerance;
};

std::vector<TWriterCase> WriterCases()
{
    const auto magick = [](const std::string& path, const std::string&, const QTemporaryDir&) {
        return DecodeWithMagick(path);
    };
    const auto withQt = [](const char* format) {
        return [format](const std::string& path, const std::string&, const QTemporaryDir&) { return Qt(path, format); };
    };
    const auto icon24 = [](TIconKind kind) {
        return [kind](const TBitmap32& b, std::string& out) { return WriteIcon24(b, kind, out); };
    };
    return {
        // At quality 100 with 4:4:4 the colours of 1-pixel stripes survive; 4:2:0 would be off by ~200.
        {"jpeg/djpeg", "jpg", [](const TBitmap32& b, std::string& out) { return WriteJpeg(b, out); },
         [](const std::string& path, const std::string&, const QTemporaryDir&) { return Tool("djpeg", {"-pnm"}, path); },
         6},
        {"png/pngtopnm", "png", [](const TBitmap32& b, std::string& out) { return WritePng(b, out); },
         [](const std::string& path, const std::string&, const QTemporaryDir&) { return Tool("pngtopnm", {}, path); }, 0},
        {"mng/magick", "mng", [](const TBitmap32& b, std::string& out) { return WriteMng(b, out); }, magick, 0},
        {"mng/stripped-pngtopnm", "mng", [](const TBitmap32& b, std::string& out) { return WriteMng(b, out); },
         [](const std::string&, const std::string& bytes, const QTemporaryDir& dir) {
             return Tool("pngtopnm", {}, Save(dir, "inner.png", PngInsideMng(bytes)));
         },
         0},
        {"bmp24/qt", "bmp", [](const TBitmap32& b, std::string& out) { return WriteBmp(b, out, 24); }, withQt("bmp"), 0},
        {"bmp24/magick", "bmp", [](const TBitmap32& b, std::string& out) { return WriteBmp(b, out, 24); }, magick, 0},
        {"bmp32/qt", "bmp", [](const TBitmap32& b, std::string& out) { return WriteBmp(b, out, 32); }, withQt("bmp"), 0},
        {"bmp32/magick", "bmp", [](const TBitmap32& b, std::string& out) { return WriteBmp(b, out, 32); }, magick, 0},
        {"pcx/pcxtoppm", "pcx", [](const TBitmap32& b, std::string& out) { return WritePcx(b, out); },
         [](const std::string& path, const std::string&, const QTemporaryDir&) { return Tool("pcxtoppm", {}, path); }, 0},
        {"pcx/magick", "pcx", [](const TBitmap32& b, std::string& out) { return WritePcx(b, out); }, magick, 0},
        {"ico24/qt", "ico", icon24(TIconKind::ikIcon), withQt("ico"), 0},
        {"ico24/magick", "ico", icon24(TIconKind::ikIcon), magick, 0},
        {"cur24/qt", "cur", icon24(TIconKind::ikCursor), withQt("cur"), 0},
        {"cur24/magick", "cur", icon24(TIconKind::ikCursor), magick, 0},
    };
}

} // namespace

// Sizes: a single pixel, odd widths (row padding, the PCX pad byte) and a 70-pixel run of 0xC8.
TEST(Writers, IndependentReadersGetThePixelsBack)
{
    QTemporaryDir dir;
    for (const TWriterCase& c : WriterCases())
        for (auto [w, h] : {std::pair{1, 1}, {5, 3}, {33, 7}, {70, 4}, {16, 16}}) {
            SCOPED_TRACE(std::string(c.Name) + " " + std::to_string(w) + "x" + std::to_string(h));
            const TBitmap32 picture = Pattern(w, h);
            std::string bytes;
            const TWriteResult written = c.Write(picture, bytes);
            ASSERT_TRUE(written.Ok) << written.Error;
            const std::string path = Save(dir, std::string("out.") + c.Extension, bytes);
            const std::optional<TBitmap32> back = c.Decode(path, bytes, dir);
            ASSERT_TRUE(back);
            const TPixelDiff diff = ComparePixels(Opaque(picture), *back, 0);
            EXPECT_TRUE(diff.SameSize);
            EXPECT_LE(diff.MaxChannel, c.Tolerance);
        }
}

TEST(Writers, LayoutsOtherReadersRelyOn)
{
    const TBitmap32 picture = Pattern(16, 16);
    std::string ico, cur, bmp32, pcx;
    ASSERT_TRUE(WriteIcon24(picture, TIconKind::ikIcon, ico).Ok);
    ASSERT_TRUE(WriteIcon24(picture, TIconKind::ikCursor, cur).Ok);
    ASSERT_TRUE(WriteBmp(picture, bmp32, 32).Ok);
    ASSERT_TRUE(WritePcx(Pattern(5, 3), pcx).Ok);
    EXPECT_EQ(ico.size(), 894u); // 6 + 16 + 40 + 16 * 48 + 16 * 4
    EXPECT_EQ(cur[2], 2);        // a cursor, hotspot (0, 0)
    EXPECT_EQ(cur.substr(10, 4), std::string(4, '\0'));
    for (std::size_t i = 54 + 3; i < bmp32.size(); i += 4) // the fourth byte of every pixel is 0
        ASSERT_EQ(bmp32[i], '\0') << i;
    EXPECT_EQ(pcx[65], 3); // three planes
    EXPECT_EQ(pcx[66], 6); // bytes per plane line: the width rounded up to even
}

TEST(Writers, RefuseWhatTheirFormatCannotHold)
{
    std::string out;
    for (const TWriteResult& r : {WriteJpeg(TBitmap32(), out), WritePng(TBitmap32(), out), WriteBmp(TBitmap32(), out),
                                  WritePcx(TBitmap32(70000, 1), out), WriteJpeg(TBitmap32(70000, 1), out),
                                  WriteIcon24(TBitmap32(300, 300), TIconKind::ikIcon, out)}) {
        EXPECT_FALSE(r.Ok);
        EXPECT_FALSE(r.Error.empty());
    }
}
