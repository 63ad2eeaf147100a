// The clipboard through a real X server: what other programs see when we copy, and what we make of what
// they offer. Runs its own Xvfb; skips itself when none can be started.
#include "core/Bitmap32.h"
#include "services/Clipboard.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

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

    // Runs a program on this display to its end; its standard output, or nothing when it failed.
    std::optional<QByteArray> Run(const QString& program, const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess p;
        p.setProcessEnvironment(Environment());
        p.start(program, arguments);
        if (!p.waitForStarted(5000)) return std::nullopt;
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
        return p.readAllStandardOutput();
    }

private:
    QProcess FServer;
    QString FDisplay;
    QByteArray FProblem;
};

} // namespace

TEST(ClipboardX11, RoundTripWithOtherPrograms)
{
    if (QStandardPaths::findExecutable("xclip").isEmpty()) GTEST_SKIP() << "xclip is not installed";
    XServer x;
    if (!x.Running()) GTEST_SKIP() << "no X display for the clipboard round trip: " << x.Problem();
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
        ASSERT_TRUE(x.Run("xclip", {"-selection", "clipboard", "-t", mime, "-i", file}));
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
