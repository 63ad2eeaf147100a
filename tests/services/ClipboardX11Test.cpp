// The clipboard through a real X server: what other programs see when we copy, and what we make of what
// they offer. Runs its own Xvfb; skips itself when none can be started.
#include "core/Bitmap32.h"
#include "services/Clipboard.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

namespace {

// What the helper's "copy" puts on the clipboard.
QImage Pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 40, y * 50, (200 - x * y) & 0xFF));
    return image;
}

class XServer
{
public:
    XServer()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
            FProblem = "Xvfb is not installed";
            return;
        }
        FServer.start("Xvfb", {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
        if (!FServer.waitForStarted(5000) || !FServer.waitForReadyRead(10000)) {
            FProblem = "Xvfb did not start";
            return;
        }
        FDisplay = ":" + QString::fromLatin1(FServer.readLine().trimmed());
    }
    ~XServer()
    {
        FServer.terminate();
        FServer.waitForFinished(5000);
    }
    bool Running() const { return FProblem.isEmpty() && FDisplay.size() > 1; }
    const char* Problem() const { return FProblem.isEmpty() ? "no display number" : FProblem.constData(); }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", FDisplay);
        env.insert("QT_QPA_PLATFORM", "xcb");
        return env;
    }

    struct TFinished
    {
        int ExitCode = -1; // -1: did not start, crashed or timed out
        QByteArray Output;
    };

    // Runs a program on this display to its end.
    TFinished Finish(const QString& program, const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess p;
        QProcessEnvironment env = Environment();
        // The sanitizer's quarantine would keep freed blocks resident; the memory checks want what is live.
        const QString sanitizer = env.value("ASAN_OPTIONS");
        env.insert("ASAN_OPTIONS", (sanitizer.isEmpty() ? "" : sanitizer + ":") + "quarantine_size_mb=0");
        p.setProcessEnvironment(env);
        p.start(program, arguments);
        if (!p.waitForStarted(5000)) return {};
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return {};
        return {p.exitCode(), p.readAllStandardOutput()};
    }

    // Its standard output, or nothing when it failed.
    std::optional<QByteArray> Run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
    {
        TFinished finished = Finish(program, arguments, input);
        if (finished.ExitCode != 0) return std::nullopt;
        return finished.Output;
    }

    // Another program copies the file's bytes as `mime`; xclip serves them until the display goes.
    bool Offer(const QString& mime, const QString& file)
    {
        return Run("xclip", {"-selection", "clipboard", "-t", mime, "-i", file}).has_value();
    }

private:
    QProcess FServer;
    QString FDisplay;
    QByteArray FProblem;
};

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

#define REQUIRE_X_AND_XCLIP(x)                                                                                    \
    if (QStandardPaths::findExecutable("xclip").isEmpty()) GTEST_SKIP() << "xclip is not installed";             \
    XServer x;                                                                                                    \
    if (!x.Running()) GTEST_SKIP() << "no X display for the clipboard: " << x.Problem()

} // namespace

TEST(ClipboardX11, RoundTripWithOtherPrograms)
{
    REQUIRE_X_AND_XCLIP(x);
    const QImage expected = Pattern(7, 5);

    // We copy: another program lists PNG and BMP among the offers and gets the pixels back from PNG.
    QProcess copier;
    copier.setProcessEnvironment(x.Environment());
    copier.start(TAVRIN_CLIPBOARD_HELPER, {"copy", "7", "5"});
    ASSERT_TRUE(copier.waitForReadyRead(20000)) << copier.readAllStandardError().toStdString();
    ASSERT_EQ(copier.readLine().trimmed(), "ready");
    const auto targets = x.Run("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"});
    ASSERT_TRUE(targets);
    EXPECT_TRUE(targets->contains("image/png")) << targets->toStdString();
    EXPECT_TRUE(targets->contains("image/bmp")) << targets->toStdString();
    const auto png = x.Run("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"});
    ASSERT_TRUE(png);
    EXPECT_TRUE(png->startsWith("\x89PNG"));
    EXPECT_EQ(QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_RGB32), expected);

    // Another program copies one picture format alone: we paste the same pixels.
    QTemporaryDir dir;
    for (const char* format : {"png", "bmp", "jpeg"}) {
        SCOPED_TRACE(format);
        const QString file = dir.filePath(QString("offer.") + format);
        ASSERT_TRUE(expected.save(file, format, 100));
        const QString mime = QString("image/") + format;
        // xclip serves the selection from the background until the display goes.
        ASSERT_TRUE(x.Offer(mime, file));
        const QString pasted = dir.filePath("pasted.ppm");
        ASSERT_TRUE(x.Run(TAVRIN_CLIPBOARD_HELPER, {"paste", pasted}));
        const QImage back = QImage(pasted).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), expected.size());
        if (QByteArray(format) != "jpeg") {
            EXPECT_EQ(back, expected);
        }
    }
    copier.waitForFinished(5000); // it gave up the clipboard to xclip
    EXPECT_EQ(copier.state(), QProcess::NotRunning);

    // Text on the clipboard is not a picture.
    ASSERT_TRUE(x.Run("xclip", {"-selection", "clipboard", "-i"}, "글자"));
    EXPECT_FALSE(x.Run(TAVRIN_CLIPBOARD_HELPER, {"paste", dir.filePath("text.ppm")}));
}

// What other programs offer is decoded only by our own readers: a damaged picture is refused with its reader's
// reason (not pasted with black rows), and an SVG, which the toolkit's plugins would render at whatever size
// it names, is no picture under its own name and no PNG under a PNG's.
TEST(ClipboardX11, OffersAreReadByOurReadersOnly)
{
    REQUIRE_X_AND_XCLIP(x);
    QTemporaryDir dir;
    QImage noisy(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x0 = 0; x0 < noisy.width(); ++x0)
            noisy.setPixel(x0, y, qRgb((x0 * 97 + y * 31) & 0xFF, (x0 * y * 13) & 0xFF, (x0 ^ y) * 4 & 0xFF));
    QByteArray png;
    {
        QBuffer buffer(&png);
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(noisy.save(&buffer, "PNG"));
    }
    const QString cut = dir.filePath("cut.png");
    ASSERT_TRUE(WriteBytes(cut, png.left(png.size() * 4 / 10)));
    const QString svg = dir.filePath("offer.svg");
    ASSERT_TRUE(WriteBytes(svg, "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"50\" height=\"40\">"
                                "<rect width=\"50\" height=\"40\" fill=\"red\"/></svg>"));
    const struct
    {
        const char* Mime;
        QString File;
        int ExitCode; // the helper's: 2 no picture, 4 refused
        QStringList Reason;
    } cases[] = {
        {"image/png", cut, 4, {QStringLiteral("클립보드에 있는 PNG 그림을 읽을 수 없습니다."), QStringLiteral("끊겨")}},
        {"image/svg", svg, 2, {}},
        {"image/svg+xml", svg, 2, {}},
        {"image/png", svg, 4, {QStringLiteral("PNG 형식이 아닙니다")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Mime) + " " + c.File.toStdString());
        ASSERT_TRUE(x.Offer(c.Mime, c.File));
        const auto pasted = x.Finish(TAVRIN_CLIPBOARD_HELPER, {"paste", "-"});
        EXPECT_EQ(pasted.ExitCode, c.ExitCode) << pasted.Output.toStdString();
        for (const QString& part : c.Reason)
            EXPECT_TRUE(QString::fromUtf8(pasted.Output).contains(part)) << pasted.Output.toStdString();
    }
}

// Pasting costs what opening the same file costs: the encoded offer goes through the reader straight into the
// pasted bitmap, with no decoded copy of the toolkit's beside it.
TEST(ClipboardX11, PasteHoldsTheMemoryRuleOfOpening)
{
    REQUIRE_X_AND_XCLIP(x);
    QTemporaryDir dir;
    constexpr int kWidth = 8000, kHeight = 6000;
    QImage big(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x0 = 0; x0 < kWidth; ++x0)
            row[x0] = qRgb(x0 / 32 & 0xFF, y / 24 & 0xFF, 0x80);
    }
    const QString file = dir.filePath("big.png");
    ASSERT_TRUE(big.save(file, "PNG"));
    big = QImage();
    const qint64 encoded = QFileInfo(file).size();

    ASSERT_TRUE(x.Offer("image/png", file));
    const auto pasted = x.Finish(TAVRIN_CLIPBOARD_HELPER, {"paste", "-"});
    ASSERT_EQ(pasted.ExitCode, 0) << pasted.Output.toStdString();
    const QList<QByteArray> words = pasted.Output.trimmed().split(' ');
    ASSERT_EQ(words.size(), 4);
    EXPECT_EQ(words[1].toInt(), kWidth);
    EXPECT_EQ(words[2].toInt(), kHeight);
    const double limitKb = (1.2 * 4.0 * kWidth * kHeight + double(encoded) + 64.0 * 1024 * 1024) / 1024;
    EXPECT_LE(words[3].toDouble(), limitKb) << "peak growth " << words[3].toStdString() << " KiB";
}
