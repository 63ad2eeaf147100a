#include "ImageTestSupport.h"

#include "ImgLib/GifReader.h"
#include "ImgLib/QtImageBridge.h"

#include <QFile>
#include <QSettings>

#include <map>

#include <gtest/gtest.h>

using namespace tavrin;
using namespace tavrin::test;

namespace {

const std::string kSuite = kPixbufImages + "/gif-test-suite";

struct TSuiteCase
{
    std::string Gif;
    int Width = 0, Height = 0;
    std::string FirstFrame; // raw RGBA of the first frame; empty when a decoder should give no picture
    std::string LastFrame;
    bool Forced = false; // the suite reads these images as separate frames although nothing says so
};

TSuiteCase ReadCase(const std::string& conf)
{
    QSettings settings(QString::fromStdString(conf), QSettings::IniFormat);
    TSuiteCase c;
    c.Gif = kSuite + "/" + settings.value("config/input").toString().toStdString();
    c.Width = settings.value("config/width").toInt();
    c.Height = settings.value("config/height").toInt();
    const QStringList frames = settings.value("config/frames").toStringList();
    if (!frames.isEmpty() && !frames.first().isEmpty()) {
        c.FirstFrame = kSuite + "/" + settings.value(frames.first() + "/pixels").toString().toStdString();
        c.LastFrame = kSuite + "/" + settings.value(frames.last() + "/pixels").toString().toStdString();
    }
    c.Forced = settings.value("config/force-animation").toString() == "yes";
    return c;
}

// The suite's RGBA pixels drawn over white.
TBitmap32 ExpectedPicture(const TSuiteCase& c, const std::string& frame)
{
    QFile file(QString::fromStdString(frame));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rgba = file.readAll();
    EXPECT_EQ(rgba.size(), qsizetype(c.Width) * c.Height * 4);
    const QImage image(reinterpret_cast<const uchar*>(rgba.constData()), c.Width, c.Height, c.Width * 4,
                       QImage::Format_RGBA8888);
    return BitmapOverWhite(image);
}

} // namespace

// Where our reading differs from the suite's, and why: true where we give an error, false where we give
// a picture although the suite has none.
const std::map<std::string, bool> kDeviations = {
    // These end before the colour table or the data of their empty image: cut off.
    {"image-zero-height.gif", true},
    {"image-zero-size.gif", true},
    {"image-zero-width.gif", true},
    // giflib cannot read a code table that fills up without a clear code.
    {"max-codes.gif", true},
    // No image at all: we say so rather than show a blank screen.
    {"no-data.gif", true},
    // The suite wants readers that cannot draw GIF plain-text blocks to fail; we draw the image without it.
    {"plain-text.gif", false},
};

// Every file of the GIF test suite: where the suite has a first frame, the same pixels over white; where it
// has none (zero size, broken codes), an error. Images without a delay make up one picture, so where the
// suite forces them apart as frames the picture is the last of them.
TEST(GifReader, TestSuiteFirstFrames)
{
    for (const std::string& conf : FilesIn(kSuite, {".conf"})) {
        const TSuiteCase c = ReadCase(conf);
        SCOPED_TRACE(c.Gif);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadGif, c.Gif, ours);
        const auto deviation = kDeviations.find(c.Gif.substr(c.Gif.rfind('/') + 1));
        if (deviation != kDeviations.end()) {
            EXPECT_EQ(result.Ok, !deviation->second) << result.Error;
            continue;
        }
        if (c.FirstFrame.empty()) {
            EXPECT_FALSE(result.Ok);
            continue;
        }
        ASSERT_TRUE(result.Ok) << result.Error;
        const TPixelDiff diff =
            ComparePixels(ours, ExpectedPicture(c, c.Forced ? c.LastFrame : c.FirstFrame), 0);
        EXPECT_TRUE(diff.SameSize) << ours.Width() << " x " << ours.Height();
        EXPECT_EQ(diff.MaxChannel, 0);
        EXPECT_TRUE(AllOpaque(ours));
    }
}

// Real pictures and animations: the first frame as ImageMagick draws it over white on the logical screen.
TEST(GifReader, RealFilesMatchImageMagickFirstFrame)
{
    std::vector<std::string> files = FilesIn(kMagickImages, {".gif"});
    for (const char* name :
         {"/1_partyanimsm2.gif", "/aero.gif", "/circular-table.gif", "/test-animation.gif"})
        files.push_back(kPixbufDir + name);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TBitmap32 ours;
        const TReadResult result = ReadFile(ReadGif, file, ours);
        ASSERT_TRUE(result.Ok) << result.Error;
        const std::optional<TBitmap32> theirs = DecodeWithMagick(file + "[0]", true);
        ASSERT_TRUE(theirs);
        const TPixelDiff diff = ComparePixels(ours, *theirs, 0);
        EXPECT_TRUE(diff.SameSize);
        EXPECT_EQ(diff.MaxChannel, 0);
    }
}

TEST(GifReader, DamagedFilesAreErrorsAndLeaveOutputAlone)
{
    for (const std::string& file : FilesIn(kPixbufImages + "/fail", {".gif"})) {
        SCOPED_TRACE(file);
        TBitmap32 out(2, 2);
        out.Clear(0xFF123456);
        const TReadResult result = ReadFile(ReadGif, file, out);
        EXPECT_FALSE(result.Ok);
        EXPECT_FALSE(result.Error.empty());
        EXPECT_EQ(out.Pixel(1, 1), 0xFF123456u);
    }
}

TEST(GifReader, TruncationInsideTheFirstFrameIsAnError)
{
    const std::vector<std::uint8_t> whole = ReadBytes(kMagickImages + "/smile.gif");
    for (std::size_t length : {std::size_t{0}, std::size_t{6}, std::size_t{20}, whole.size() / 2}) {
        SCOPED_TRACE(length);
        TBitmap32 out;
        EXPECT_FALSE(ReadGif(std::span(whole).first(length), out).Ok);
        EXPECT_TRUE(out.Empty());
    }
}

TEST(GifReader, ScreenBeyondPixelBudgetIsRefused)
{
    TBitmap32 out;
    const TReadResult result = ReadFile(ReadGif, kSuite + "/max-size.gif", out);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Error.find("65535 × 65535"), std::string::npos) << result.Error;
}
