// The PNG writer compresses bands of rows on every core and joins them into one zlib stream: the files
// must decode pixel for pixel in readers that are not ours, with every chunk, the stream and its
// checksum right, at the sizes where bands begin and end.
#include "ImageTestSupport.h"

#include "ImgLib/PngBandEncoder.h"
#include "ImgLib/PngWriter.h"
#include "ImgLib/QtImageBridge.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <new>

using namespace tavrin;
using namespace tavrin::test;

namespace {

// Noise, smooth ramps and flat runs side by side, so that every filter wins on some rows.
TBitmap32 Texture(int width, int height)
{
    TBitmap32 b(width, height);
    std::uint32_t noise = 2463534242u;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            noise ^= noise << 13;
            noise ^= noise >> 17;
            noise ^= noise << 5;
            const int part = (x / 7 + y / 5) % 3;
            const auto n = static_cast<std::uint8_t>(noise);
            if (part == 0)
                b.SetPixel(x, y, MakeColor32(255, n, static_cast<std::uint8_t>(n >> 1), 0xC8));
            else if (part == 1)
                b.SetPixel(x, y,
                           MakeColor32(255, static_cast<std::uint8_t>(x + y),
                                       static_cast<std::uint8_t>(2 * x),
                                       static_cast<std::uint8_t>(y * 3 + (n & 3))));
            else
                b.SetPixel(x, y, MakeColor32(255, 40, 90, static_cast<std::uint8_t>(y)));
        }
    return b;
}

std::uint32_t BigEndian(const std::string& s, std::size_t at)
{
    const auto* p = reinterpret_cast<const unsigned char*>(s.data() + at);
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

// Walks the chunks (the signature; IHDR first, as libpng writes it for 8-bit truecolour; the IDATs in one
// run; IEND last; every CRC) and inflates the IDAT data with zlib, which checks the stream's own Adler-32.
// Returns the filtered rows; on a fault, empty and `why` says what.
std::string CheckedPixelData(const std::string& png, int width, int height, std::string& why)
{
    if (png.compare(0, 8, "\x89PNG\r\n\x1A\n", 8) != 0) return why = "signature", std::string();
    std::string idat;
    std::vector<std::string> order; // the chunk types, a run of one type once
    for (std::size_t at = 8; at < png.size();) {
        if (png.size() - at < 12) return why = "cut-off chunk", std::string();
        const std::uint32_t length = BigEndian(png, at);
        const std::string type = png.substr(at + 4, 4);
        if (png.size() - at - 12 < length) return why = "chunk past the end", std::string();
        const auto* typeAndData = reinterpret_cast<const Bytef*>(png.data() + at + 4);
        if (crc32(0, typeAndData, length + 4) != BigEndian(png, at + 8 + length))
            return why = "CRC of " + type, "";
        if (type == "IHDR") {
            const std::string header = png.substr(at + 8, length);
            if (header.size() != 13 || header.substr(8) != std::string("\x08\x02\0\0\0", 5) ||
                BigEndian(header, 0) != std::uint32_t(width) || BigEndian(header, 4) != std::uint32_t(height))
                return why = "IHDR", std::string();
        }
        if (type == "IDAT") idat += png.substr(at + 8, length);
        if (order.empty() || order.back() != type) order.push_back(type);
        at += 12 + length;
    }
    if (order != std::vector<std::string>{"IHDR", "IDAT", "IEND"}) return why = "chunk order", std::string();
    std::string rows(static_cast<std::size_t>(height) * (3 * static_cast<std::size_t>(width) + 1) + 1, '\0');
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(idat.data());
    z.avail_in = static_cast<uInt>(idat.size());
    z.next_out = reinterpret_cast<Bytef*>(rows.data());
    z.avail_out = static_cast<uInt>(rows.size());
    const int ret = inflate(&z, Z_FINISH);
    const std::size_t used = idat.size() - z.avail_in;
    rows.resize(rows.size() - z.avail_out);
    inflateEnd(&z);
    if (ret != Z_STREAM_END) return why = std::string("zlib: ") + (z.msg ? z.msg : "stream not ended"), "";
    if (used != idat.size()) return why = "bytes after the zlib stream", std::string();
    if (rows.size() != static_cast<std::size_t>(height) * (3 * static_cast<std::size_t>(width) + 1))
        return why = "row data of the wrong length", std::string();
    return rows;
}

std::string SaveTo(const QTemporaryDir& dir, const std::string& bytes)
{
    const QString path = dir.filePath("out.png");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        return {};
    return path.toStdString();
}

// libpng's own checker: 0 is a file that reads without a single zlib or CRC complaint.
int PngFixStatus(const std::string& path)
{
    QProcess process;
    process.start("pngfix", {"-q", QString::fromStdString(path)});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return -1;
    return process.exitCode();
}

void ExpectSame(const TBitmap32& picture, const std::optional<TBitmap32>& back, const char* reader)
{
    SCOPED_TRACE(reader);
    ASSERT_TRUE(back);
    const TPixelDiff diff = ComparePixels(picture, *back, 0);
    EXPECT_TRUE(diff.SameSize);
    EXPECT_EQ(diff.MaxChannel, 0);
}

std::size_t QtPngSize(const TBitmap32& picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ToImage(picture).save(&buffer, "PNG");
    return static_cast<std::size_t>(bytes.size());
}

} // namespace

// One row; a band of one row less, exactly one band, one band and a row (the second band a single row);
// a width of one pixel; odd widths; several bands with a short last one.
TEST(PngWriter, BandEdgesReadBackExactlyEverywhere)
{
    struct TCase
    {
        int Width, Height;
        std::vector<TPngSpeed> Speeds;
    };
    const int r1001 = PngRowsPerBand(1001), r333 = PngRowsPerBand(333), r1 = PngRowsPerBand(1);
    const std::vector<TPngSpeed> both = {TPngSpeed::psDefault, TPngSpeed::psFastest};
    const std::vector<TCase> cases = {
        {7, 1, both},
        {1001, r1001 - 1, {TPngSpeed::psDefault}},
        {1001, r1001, {TPngSpeed::psDefault}},
        {1001, r1001 + 1, both},
        {1, r1 + 1, {TPngSpeed::psDefault}},
        {333, 3 * r333 + 5, both},
    };
    QTemporaryDir dir;
    for (const TCase& c : cases)
        for (TPngSpeed speed : c.Speeds) {
            SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) +
                         (speed == TPngSpeed::psFastest ? " fastest" : " default"));
            const TBitmap32 picture = Texture(c.Width, c.Height);
            std::string png;
            const TWriteResult written = WritePng(picture, png, speed);
            ASSERT_TRUE(written.Ok) << written.Error;
            std::string why;
            const std::string rows = CheckedPixelData(png, c.Width, c.Height, why);
            ASSERT_FALSE(rows.empty()) << why;
            const std::string path = SaveTo(dir, png);
            EXPECT_EQ(PngFixStatus(path), 0);
            ExpectSame(picture, DecodeWithTool("pngtopnm", {QString::fromStdString(path)}), "pngtopnm");
            QImageReader reader(QString::fromStdString(path), "png");
            ExpectSame(picture, BitmapFromImage(reader.read()), "Qt");
        }
}

// The filter rule and the deflate level together compress as well as libpng at zlib's default level,
// which Qt's writer uses; the fastest setting gives up only a little.
TEST(PngWriter, CompressesAsWellAsLibpng)
{
    const TBitmap32 picture = Texture(900, 700);
    std::string ours, fastest;
    ASSERT_TRUE(WritePng(picture, ours).Ok);
    ASSERT_TRUE(WritePng(picture, fastest, TPngSpeed::psFastest).Ok);
    const double qt = static_cast<double>(QtPngSize(picture));
    EXPECT_LE(static_cast<double>(ours.size()), 1.05 * qt);
    EXPECT_LE(static_cast<double>(fastest.size()), 1.25 * qt);
}

// A sink that gives up, or runs out of memory, in the middle of a picture of several bands stops the
// writer there with the reason; nothing is handed on after it, and every worker has ended when it returns.
TEST(PngWriter, SinkFailureMidwayStopsTheWorkers)
{
    const TBitmap32 picture = Texture(1200, 4 * PngRowsPerBand(1200));
    for (bool throws : {false, true}) {
        SCOPED_TRACE(throws ? "out of memory" : "refused");
        int calls = 0, callsAfterFailure = 0;
        const TWriteResult r = WritePng(picture, [&](std::string_view) {
            if (++calls > 2) ++callsAfterFailure;
            if (calls < 2) return true;
            if (throws) throw std::bad_alloc();
            return false;
        });
        EXPECT_FALSE(r.Ok);
        EXPECT_EQ(callsAfterFailure, 0);
        EXPECT_EQ(r.Error, throws ? NotEnoughMemoryToWriteError()
                                  : EncoderError("PNG", "the encoded bytes could not be kept"));
    }
}

// The MNG form carries the same joined stream between its MHDR and MEND.
TEST(PngWriter, MngOfSeveralBandsReadsBack)
{
    const TBitmap32 picture = Texture(401, 2 * PngRowsPerBand(401) + 3);
    std::string mng;
    ASSERT_TRUE(WriteMng(picture, mng).Ok);
    ASSERT_GT(mng.size(), 8u + 40u + 12u);
    const std::string png =
        std::string("\x89PNG\r\n\x1A\n", 8) + mng.substr(8 + 40, mng.size() - 8 - 40 - 12);
    EXPECT_EQ(mng.substr(mng.size() - 8, 4), "MEND");
    std::string why;
    EXPECT_FALSE(CheckedPixelData(png, picture.Width(), picture.Height(), why).empty()) << why;
    QTemporaryDir dir;
    ExpectSame(picture, DecodeWithTool("pngtopnm", {QString::fromStdString(SaveTo(dir, png))}), "pngtopnm");
}
