// Small files made to cost a reader gigabytes or to lead a library past a buffer. Each is made here, byte
// by byte, and must be refused with its reason, without the picture it claims ever being allocated: a
// separate loader process reports how far its peak memory grew, which must stay within 64 MB plus the
// file's size.
#include "ImageTestSupport.h"

#include "ImgLib/BmpReader.h"
#include "ImgLib/EmfReader.h"
#include "ImgLib/GifReader.h"
#include "ImgLib/IcoReader.h"
#include "ImgLib/JpegReader.h"
#include "ImgLib/PngReader.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& b, unsigned v)
{
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(TBytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutBig32(TBytes& b, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}
void Append(TBytes& b, std::initializer_list<std::uint8_t> bytes)
{
    b.insert(b.end(), bytes);
}

// A logical screen of 16384 x 16384 and, when `imageSize` is 0, one image without pixels (26 bytes);
// otherwise one image of that size whose data is a single clear code.
TBytes HugeScreenGif(unsigned imageSize)
{
    TBytes b = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(b, 16384);
    Put16(b, 16384);
    Append(b, {imageSize ? std::uint8_t{0x80} : std::uint8_t{0}, 0, 0}); // a 2-colour table when drawn
    if (imageSize) Append(b, {0, 0, 0, 255, 255, 255});
    b.push_back(',');
    Put16(b, 0);
    Put16(b, 0);
    Put16(b, imageSize);
    Put16(b, imageSize);
    b.push_back(0);
    if (imageSize)
        Append(b, {2, 2, 0x4C, 0x01, 0}); // clear, index 1, end
    else
        Append(b, {2, 0});
    b.push_back(';');
    return b;
}

// The 16384 x 16384 screen with its good 1 x 1 image, then a second image of the same frame whose data the
// file cuts off: no bound on the data's size can tell, only decoding it.
TBytes HugeScreenGifCutInSecondImage()
{
    TBytes b = HugeScreenGif(1);
    b.pop_back(); // the trailer
    b.push_back(',');
    for (unsigned v : {0u, 0u, 1u, 1u})
        Put16(b, v);
    b.push_back(0);
    Append(b, {2, 2, 0x4C}); // a 2-byte block of which the file holds one
    return b;
}

// An arithmetic-coded grey JPEG up to the start of its scan's data.
TBytes ArithmeticJpegHead(unsigned width, unsigned height)
{
    TBytes b = {0xFF, 0xD8, 0xFF, 0xDB, 0, 67, 0};
    b.insert(b.end(), 64, 1);
    Append(b, {0xFF, 0xC9, 0, 11, 8});
    for (unsigned v : {height, width}) // big-endian
        Append(b, {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    Append(b, {1, 1, 0x11, 0});
    Append(b, {0xFF, 0xDA, 0, 8, 1, 1, 0, 0, 63, 0});
    return b;
}

// Arithmetic-coded, 16384 x 16384 grey, with a scan that ends at once (130 bytes).
TBytes ArithmeticJpegWithoutData()
{
    TBytes b = ArithmeticJpegHead(16384, 16384);
    b.insert(b.end(), 130 - 2 - b.size(), 0);
    Append(b, {0xFF, 0xD9});
    return b;
}

void PutPngChunk(TBytes& b, const char* type, const TBytes& data)
{
    PutBig32(b, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = b.size();
    b.insert(b.end(), type, type + 4);
    b.insert(b.end(), data.begin(), data.end());
    PutBig32(b, static_cast<std::uint32_t>(crc32(0, b.data() + start, static_cast<uInt>(b.size() - start))));
}

// The signature and header of a 1-bit grey PNG.
TBytes OneBitPngHead(std::uint32_t width, std::uint32_t height)
{
    TBytes b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    TBytes header;
    PutBig32(header, width);
    PutBig32(header, height);
    Append(header, {1, 0, 0, 0, 0});
    PutPngChunk(b, "IHDR", header);
    return b;
}

// Arithmetic-coded 4608 x 4096 grey (75 MB as a picture), its scan padded to 19 000 bytes, within the data
// bound, but with no end-of-image marker: decoding would run out of data only after the last row.
TBytes ArithmeticJpegWithoutEnd()
{
    TBytes b = ArithmeticJpegHead(4608, 4096);
    b.resize(19000, 0);
    return b;
}

// A 1-bit 16384 x 4096 PNG (256 MB as a picture) whose rows are all there, within every bound, cut off
// in its last chunk: libpng would notice only after the last row.
TBytes PngCutInItsLastChunk()
{
    TBytes b = OneBitPngHead(16384, 4096);
    TBytes rows(std::size_t{4096} * 2049, 0);
    std::uint32_t seed = 7;
    for (std::size_t i = 1; i < 3 * 2049; ++i) { // three rows of noise, so the data is not at the bound
        seed = seed * 1664525u + 1013904223u;
        if (i % 2049 != 0) rows[i] = static_cast<std::uint8_t>(seed >> 24);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    TBytes packed(packedSize);
    compress2(packed.data(), &packedSize, rows.data(), static_cast<uLong>(rows.size()), 9);
    packed.resize(packedSize);
    PutPngChunk(b, "IDAT", packed);
    PutPngChunk(b, "IEND", {});
    b.resize(b.size() - 6);
    return b;
}

// A 1-bit 16384 x 16384 PNG cut off after 17 KB of image data: far too little for its 33 MB of rows even
// at deflate's best ratio.
TBytes TruncatedOneBitPng()
{
    TBytes b = OneBitPngHead(16384, 16384);
    TBytes data = {0x78, 0x9C};
    data.resize(17000, 0);
    PutPngChunk(b, "IDAT", data);
    return b;
}

// An EMF header whose description of 128 characters lies past the end of the 128-byte file.
TBytes EmfWithDescriptionPastEnd()
{
    TBytes b;
    Put32(b, 1);   // EMR_HEADER
    Put32(b, 108); // its size
    for (std::int32_t v : {0, 0, 99, 99, 0, 0, 2645, 2645})
        Put32(b, static_cast<std::uint32_t>(v)); // bounds, frame
    Put32(b, 0x464D4520);
    Put32(b, 0x10000);
    Put32(b, 128); // bytes
    Put32(b, 2);   // records
    Put16(b, 1);   // handles
    Put16(b, 0);
    Put32(b, 128); // description: characters
    Put32(b, 108); // and where
    Put32(b, 0);
    for (std::int32_t v : {1920, 1080, 508, 286, 0, 0, 0, 508000, 286000})
        Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, 14); // EMR_EOF
    Put32(b, 20);
    Put32(b, 0);
    Put32(b, 16);
    Put32(b, 20);
    return b;
}

// An 8-bit RLE bitmap of side x side pixels whose data is only the end-of-bitmap mark (64 bytes).
TBytes RleBmp(std::int32_t side)
{
    TBytes b = {'B', 'M'};
    Put32(b, 64);
    Put32(b, 0);
    Put32(b, 14 + 40 + 8);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(side));
    Put32(b, static_cast<std::uint32_t>(side));
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 1); // BI_RLE8
    for (int i = 0; i < 3; ++i)
        Put32(b, 0);
    Put32(b, 2); // colours used
    Put32(b, 0);
    Append(b, {0, 0, 255, 0, 255, 255, 255, 0});
    Append(b, {0, 1});
    return b;
}

// A placeable WMF of side x side pixels (at 96 units an inch) with one drawing record (60 bytes).
TBytes PlaceableWmf(std::int16_t side)
{
    TBytes b;
    Put32(b, 0x9AC6CDD7);
    for (int v : {0, 0, 0, int{side}, int{side}, 96})
        Put16(b, static_cast<std::uint16_t>(v));
    Put32(b, 0);
    Put16(b, 0x9AC6 ^ 0xCDD7 ^ side ^ side ^ 96); // checksum
    Append(b, {1, 0, 9, 0, 0, 3});
    Put32(b, (60 - 22) / 2);
    Put16(b, 0);
    Put32(b, 7);
    Put16(b, 0);
    for (std::uint16_t w : {7, 0, 0x041B, 10, 10, 0, 0}) // Rectangle(0, 0, 10, 10)
        Put16(b, w);
    for (std::uint16_t w : {3, 0, 0}) // EOF
        Put16(b, w);
    return b;
}

// An EMF of side x side pixels: a header, a rectangle when `draws`, and the end record.
TBytes SimpleEmf(std::int32_t side, bool draws)
{
    const auto units = static_cast<std::int32_t>(side * 2540.0 / 96.0) - 1; // 0.01 mm, inclusive
    TBytes b;
    Put32(b, 1);
    Put32(b, 108);
    for (std::int32_t v : {0, 0, side - 1, side - 1, 0, 0, units, units})
        Put32(b, static_cast<std::uint32_t>(v));
    Put32(b, 0x464D4520);
    Put32(b, 0x10000);
    Put32(b, draws ? 152 : 128);
    Put32(b, draws ? 3 : 2);
    Put16(b, 1);
    Put16(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    for (std::int32_t v : {96, 96, 254, 254, 0, 0, 0, 254000, 254000})
        Put32(b, static_cast<std::uint32_t>(v));
    if (draws)
        for (std::uint32_t v : {43u, 24u, 0u, 0u, 10u, 10u}) // EMR_RECTANGLE
            Put32(b, v);
    for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u})
        Put32(b, v);
    return b;
}

struct TCraftedCase
{
    std::string Name; // the file name, whose ending chooses the reader
    TBytes Bytes;
    TPictureReader Reader;
    std::string Reason; // part of the error
};

std::vector<TCraftedCase> CraftedCases()
{
    const TBytes gif = HugeScreenGif(1);
    return {
        {"no-image.gif", HugeScreenGif(0), ReadGif, "그림이 들어 있지 않습니다"},
        {"cut-in-second-image.gif", HugeScreenGifCutInSecondImage(), ReadGif, "끊겨"},
        {"arithmetic-no-data.jpg", ArithmeticJpegWithoutData(), ReadJpeg, "끊겨"},
        {"gif-inside.bmp", gif, ReadBmp, "BMP 형식이 아닙니다"},
        {"gif-inside.ico", gif, ReadIco, "ICO 형식이 아닙니다"},
        {"truncated-1bit.png", TruncatedOneBitPng(), ReadPng, "끊겨"},
        {"cut-in-last-chunk.png", PngCutInItsLastChunk(), ReadPng, "끊겨"},
        {"arithmetic-without-end.jpg", ArithmeticJpegWithoutEnd(), ReadJpeg, "끊겨"},
        {"description-past-end.emf", EmfWithDescriptionPastEnd(), ReadEmf, "손상"},
        {"header-only.emf", SimpleEmf(16384, false), ReadEmf, "그림이 들어 있지 않습니다"},
    };
}

struct TLoadReport
{
    bool Ok = false;
    long PeakGrowthKb = -1;
    std::string Text;
};

TLoadReport LoadInOwnProcess(const QString& path)
{
    QProcess process;
    // The sanitizer keeps freed memory resident for a while to catch late uses; the program without it
    // gives memory back at once, so the peak is measured that way.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString sanitizer = environment.value("ASAN_OPTIONS");
    environment.insert("ASAN_OPTIONS", (sanitizer.isEmpty() ? "" : sanitizer + ":") + "quarantine_size_mb=0");
    process.setProcessEnvironment(environment);
    process.start(TAVRIN_PEAKLOAD, {path});
    EXPECT_TRUE(process.waitForFinished(120000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    const QStringList words = out.split(' ');
    TLoadReport report;
    report.Ok = words.value(0) == "ok";
    report.PeakGrowthKb = words.value(report.Ok ? 3 : 1).toLong();
    report.Text = out.toStdString();
    return report;
}

} // namespace

TEST(CraftedFiles, RefusedWithReason)
{
    for (const TCraftedCase& c : CraftedCases()) {
        SCOPED_TRACE(c.Name);
        EXPECT_LT(c.Bytes.size(), 20000u);
        TBitmap32 out(1, 1);
        const TReadResult result = c.Reader(c.Bytes, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_NE(result.Error.find(c.Reason), std::string::npos) << result.Error;
        EXPECT_EQ(out.Width(), 1);
    }
}

void WriteFile(const QString& path, const TBytes& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
}

TEST(CraftedFiles, RefusedWithoutAllocatingThePicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const TCraftedCase& c : CraftedCases()) {
        SCOPED_TRACE(c.Name);
        const QString path = dir.filePath(QString::fromStdString(c.Name));
        WriteFile(path, c.Bytes);
        const TLoadReport report = LoadInOwnProcess(path);
        EXPECT_FALSE(report.Ok) << report.Text;
        EXPECT_GE(report.PeakGrowthKb, 0) << report.Text;
        EXPECT_LE(report.PeakGrowthKb, 64 * 1024 + static_cast<long>(c.Bytes.size() / 1024)) << report.Text;
    }
    // Nearly 2 GB (sparse) that is no PNG: only its head is read.
    const QString big = dir.filePath("big.png");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    ASSERT_TRUE(file.resize((qint64{2} << 30) - 1));
    file.close();
    const TLoadReport report = LoadInOwnProcess(big);
    EXPECT_FALSE(report.Ok);
    EXPECT_NE(report.Text.find("PNG 형식이 아닙니다"), std::string::npos) << report.Text;
    EXPECT_LE(report.PeakGrowthKb, 64 * 1024) << report.Text;
}

// Small files that do make big pictures hold them once: the peak stays within 1.2 times the picture's
// 4 bytes a pixel, plus 64 MB. (The metafile readers painted on a canvas of their own and copied it, and
// Qt decoded a bitmap beside the result: twice the picture.)
TEST(CraftedFiles, BigPicturesFromSmallFilesAreHeldOnce)
{
    constexpr int kSide = 8192;
    const std::vector<std::pair<std::string, TBytes>> cases = {
        {"rle.bmp", RleBmp(kSide)},
        {"placeable.wmf", PlaceableWmf(kSide)},
        {"rectangle.emf", SimpleEmf(kSide, true)},
    };
    QTemporaryDir dir;
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromStdString(name));
        WriteFile(path, bytes);
        const TLoadReport report = LoadInOwnProcess(path);
        ASSERT_TRUE(report.Ok) << report.Text;
        EXPECT_NE(report.Text.find("ok 8192 8192"), std::string::npos) << report.Text;
        const long pictureKb = 4L * kSide * kSide / 1024;
        EXPECT_LE(report.PeakGrowthKb, pictureKb * 12 / 10 + 64 * 1024) << report.Text;
    }
}

// A big progressive JPEG: its decoder gathers every scan's coefficients for the whole picture (here
// three quarters of the picture's own size) before a row comes out. They are not held beside the
// picture, and the pixels are still exactly libjpeg-turbo's own decoder's.
TEST(CraftedFiles, BigProgressiveJpegIsHeldOnceAndDecodedExactly)
{
    constexpr int kWidth = 8000, kHeight = 6000;
    QTemporaryDir dir;
    const QString ppm = dir.filePath("big.ppm"), jpeg = dir.filePath("big.jpg");
    {
        QFile file(ppm);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("P6\n") + QByteArray::number(kWidth) + " " + QByteArray::number(kHeight) + "\n255\n");
        QByteArray row(kWidth * 3, 0);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                row[3 * x] = static_cast<char>(x * 255 / kWidth);
                row[3 * x + 1] = static_cast<char>(y * 255 / kHeight);
                row[3 * x + 2] = static_cast<char>(((x / 40 + y / 40) % 2) * 200);
            }
            ASSERT_EQ(file.write(row), row.size());
        }
    }
    if (QProcess::execute("cjpeg", {"-progressive", "-sample", "2x2", "-quality", "90", "-outfile", jpeg, ppm}) != 0)
        GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) is needed to make a progressive JPEG";
    QFile::remove(ppm);

    const TLoadReport report = LoadInOwnProcess(jpeg);
    ASSERT_TRUE(report.Ok) << report.Text;
    EXPECT_NE(report.Text.find("ok 8000 6000"), std::string::npos) << report.Text;
    const long pictureKb = 4L * kWidth * kHeight / 1024;
    EXPECT_LE(report.PeakGrowthKb, pictureKb * 12 / 10 + 64 * 1024 + QFileInfo(jpeg).size() / 1024) << report.Text;

    TBitmap32 ours;
    const TReadResult result = ReadFile(ReadJpeg, jpeg.toStdString(), ours);
    ASSERT_TRUE(result.Ok) << result.Error;
    const std::optional<TBitmap32> theirs = DecodeWithTool("djpeg", {"-ppm", jpeg});
    ASSERT_TRUE(theirs);
    EXPECT_EQ(ComparePixels(ours, *theirs, 0).MaxChannel, 0);
}
