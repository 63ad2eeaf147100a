#include "dialogs/FmGIF.h"
#include "ImgLib/HalftoneMapping.h"
#include "dialogs/ColorShape.h"
#include "dialogs/GifPreview.h"
#include "services/FileReplace.h"
#include "services/MessageSeamScripted.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

using namespace tavrin;

namespace {

// What giflib finds in a saved file.
struct TSavedGif
{
    std::string Version;
    int ControlBlocks = 0;
    int TransparentIndex = NO_TRANSPARENT_COLOR;
    std::vector<TRgb> Colors;
};

TSavedGif ReadSaved(const QString& path)
{
    TSavedGif saved;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) saved.Version = file.read(6).toStdString();
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
    if (!gif) {
        ADD_FAILURE() << "giflib cannot open " << path.toStdString();
        return saved;
    }
    if (DGifSlurp(gif) == GIF_OK && gif->ImageCount == 1) {
        const SavedImage& image = gif->SavedImages[0];
        for (int i = 0; i < image.ExtensionBlockCount; ++i)
            if (image.ExtensionBlocks[i].Function == GRAPHICS_EXT_FUNC_CODE) ++saved.ControlBlocks;
        GraphicsControlBlock gcb;
        if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) saved.TransparentIndex = gcb.TransparentColor;
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        for (int i = 0; map && i < map->ColorCount; ++i)
            saved.Colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    } else {
        ADD_FAILURE() << "giflib cannot read " << path.toStdString();
    }
    DGifCloseFile(gif, nullptr);
    return saved;
}

// ImageMagick's alpha of the pixels at the given points, "1" opaque, "0" transparent, separated by spaces.
std::string MagickAlpha(const QString& path, std::initializer_list<QPoint> points)
{
    QString format;
    for (const QPoint p : points)
        format += QStringLiteral("%[fx:p{%1,%2}.a] ").arg(p.x()).arg(p.y());
    QProcess process;
    process.start("convert", {path, "-format", format.trimmed(), "info:-"});
    EXPECT_TRUE(process.waitForFinished(30000));
    return process.readAllStandardOutput().toStdString();
}

constexpr TColor32 kRed = 0xFFFF0000;     // a palette colour (249)
constexpr TColor32 kNavy = 0xFF000080;    // held twice in the palette (4 and 128)
constexpr TColor32 kOddBlue = 0xFF0019E7; // nearest entry: blue (252)

// A 40 x 20 picture: red left half, navy right half, one odd blue pixel at (39, 19).
TBitmap32 TwoColourRegion()
{
    TBitmap32 b(40, 20);
    b.Clear(kRed);
    b.FillRect(20, 0, 40, 20, kNavy);
    b.SetPixel(39, 19, kOddBlue);
    return b;
}

struct GifDialog : ::testing::Test
{
    TScriptedMessageSeam messages;
    QWidget owner;
    std::unique_ptr<TFmGIF> dlg;
    QTemporaryDir dir;
    std::vector<QString> names; // answers of the save dialog, in order
    int asked = 0;

    void Open(const TBitmap32& region)
    {
        dlg = std::make_unique<TFmGIF>(messages, &owner);
        dlg->SetAskFileName(
            [this](QWidget*) { return asked < int(names.size()) ? names[asked++] : QString(); });
        dlg->SetImage(region);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    QString Path(const char* name) const { return dir.filePath(name); }
    void SaveAs(const QString& path)
    {
        names.push_back(path);
        dlg->BuSaveClick();
    }
    void Click(QPoint p) { QTest::mouseClick(&dlg->Image(), Qt::LeftButton, {}, p); }
};

TEST_F(GifDialog, LayoutFollowsTheWindowAndThePictureFitsAtTheTopLeft)
{
    Open(TwoColourRegion());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("투명 GIF 저장"));
    EXPECT_EQ(dlg->size(), QSize(542, 401));
    EXPECT_EQ(dlg->Image().geometry(), QRect(0, 0, 400, 400));
    EXPECT_EQ(dlg->Panel1().geometry(), QRect(406, 0, 135, 301));
    EXPECT_EQ(dlg->ShapeColor().geometry(), QRect(0, 48, 33, 29));
    EXPECT_EQ(dlg->BuSave().geometry(), QRect(12, 155, 75, 25));
    EXPECT_EQ(dlg->BuSave().text(), QStringLiteral("저장하기"));
    EXPECT_EQ(dlg->Label2().text(), QStringLiteral("현재 지정된 색상"));
    EXPECT_EQ(dlg->Image().PictureRect(), QRect(0, 0, 400, 200)); // 40 x 20 enlarged ten times

    dlg->resize(842, 301);
    EXPECT_EQ(dlg->Image().geometry(), QRect(0, 0, 700, 300));
    EXPECT_EQ(dlg->Panel1().geometry(), QRect(706, 0, 135, 301));
    EXPECT_EQ(dlg->Image().PictureRect(), QRect(0, 0, 600, 300));        // height decides now
    EXPECT_EQ(dlg->Image().ColorAt(599, 299), ColorOfPixel(0xFF0000FF)); // the odd pixel, shown as blue
    EXPECT_EQ(dlg->Image().ColorAt(600, 10), dlg->Image().BackgroundColor());
}

TEST_F(GifDialog, ThePressedColourIsTheColourShown)
{
    Open(TwoColourRegion());
    EXPECT_EQ(dlg->ChosenColor(), ColorOfPixel(kRed)); // the top-left pixel's until a press
    struct TCase
    {
        QPoint At;
        TColor Expected;
    };
    const TCase cases[] = {
        {{250, 50}, ColorOfPixel(kNavy)},
        {{395, 195}, ColorOfPixel(0xFF0000FF)},
        {{10, 300}, dlg->Image().BackgroundColor()},
        {{5, 5}, ColorOfPixel(kRed)},
    };
    for (const TCase& c : cases) {
        QTest::mouseClick(&dlg->Image(), Qt::RightButton, {}, c.At);
        EXPECT_EQ(dlg->ChosenColor(), c.Expected) << c.At.x() << "," << c.At.y();
        EXPECT_EQ(dlg->ShapeColor().Color(), c.Expected);
    }
}

TEST_F(GifDialog, EachSaveMarksTheColourChosenThenAndStaysOpen)
{
    Open(TwoColourRegion());
    SaveAs(Path("corner.gif")); // no press: the top-left colour
    Click({300, 100});          // navy
    SaveAs(Path("navy.gif"));
    Click({10, 350}); // below the picture
    SaveAs(Path("none.gif"));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(dlg->isVisible());

    // The optimised table: red (400 pixels), navy (399, entry 4 of the halftone table, never 128), blue (1).
    const std::vector<TRgb> table{{255, 0, 0}, {0, 0, 128}, {0, 0, 255}};
    EXPECT_EQ(dlg->Gif().Image.Palette, table);

    const TSavedGif corner = ReadSaved(Path("corner.gif"));
    EXPECT_EQ(corner.Version, "GIF89a");
    EXPECT_EQ(corner.ControlBlocks, 1);
    EXPECT_EQ(corner.TransparentIndex, 0);
    EXPECT_EQ(MagickAlpha(Path("corner.gif"), {{0, 0}, {25, 5}, {39, 19}}), "0 1 1");

    const TSavedGif navy = ReadSaved(Path("navy.gif"));
    EXPECT_EQ(navy.ControlBlocks, 1);
    EXPECT_EQ(navy.TransparentIndex, 1);
    EXPECT_EQ(MagickAlpha(Path("navy.gif"), {{0, 0}, {25, 5}, {39, 19}}), "1 0 1");

    const TSavedGif none = ReadSaved(Path("none.gif"));
    EXPECT_EQ(none.ControlBlocks, 0);
    EXPECT_EQ(MagickAlpha(Path("none.gif"), {{0, 0}, {25, 5}}), "1 1");
    ASSERT_GE(none.Colors.size(), 3u);
    EXPECT_EQ(std::vector<TRgb>(none.Colors.begin(), none.Colors.begin() + 3), table);
}

TEST_F(GifDialog, ReplacingAFileAsksFirst)
{
    Open(TwoColourRegion());
    const QString path = Path("keep.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the user's own file");
    file.close();

    messages.Answers = {TMsgButton::No};
    SaveAs(path);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Buttons, TMsgButton::Yes | TMsgButton::No);
    EXPECT_EQ(messages.Shown[0].DefaultButton, TMsgButton::No);
    EXPECT_TRUE(messages.Shown[0].Text.contains("keep.gif"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "the user's own file");
    file.close();

    messages.Answers = {TMsgButton::Yes};
    SaveAs(path);
    EXPECT_EQ(messages.Shown.size(), 2u);
    EXPECT_EQ(ReadSaved(path).TransparentIndex, 0);
}

TEST_F(GifDialog, AProtectedFileIsRefusedWithoutTheReplaceQuestion)
{
    Open(TwoColourRegion());
    const QString path = Path("locked.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("locked");
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    SaveAs(path);
    ASSERT_EQ(messages.Shown.size(), 1u); // the refusal only: no question whose Yes could not be kept
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_TRUE(messages.Shown[0].Text.contains("locked.gif")) << messages.Shown[0].Text.toStdString();
    EXPECT_TRUE(messages.Shown[0].Text.contains(QStringLiteral("쓰기가 금지된")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "locked");
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(GifDialog, AWriteErrorNamesTheFileKeepsTheOldOneAndTheDialog)
{
    Open(TwoColourRegion());
    const QString path = Path("full.gif");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("good");
    file.close();

    messages.Answers = {TMsgButton::Yes};
    SetFileWriteFaultForTest({.FailAtWrite = 1, .Error = ENOSPC});
    SaveAs(path);
    ClearFileWriteFaultForTest();

    ASSERT_EQ(messages.Shown.size(), 2u);
    const TMessage& error = messages.Shown[1];
    EXPECT_EQ(error.Caption, QStringLiteral("이미지 저장 오류"));
    EXPECT_EQ(error.Icon, TMsgIcon::Error);
    EXPECT_TRUE(error.Text.contains("full.gif")) << error.Text.toStdString();
    EXPECT_TRUE(error.Text.contains(QStringLiteral("공간"))) << error.Text.toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "good");
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"full.gif"});
}

TEST_F(GifDialog, AnEmptyRegionIsShownEmptyAndNeverSaved)
{
    Open(TBitmap32(0, 20));
    EXPECT_TRUE(dlg->Image().PictureRect().isEmpty());
    Click({10, 10});
    SaveAs(Path("empty.gif"));
    EXPECT_EQ(asked, 0); // refused before a name is asked for
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("저장할 이미지를 선택해주세요."));
    EXPECT_EQ(messages.Shown[0].Caption, QStringLiteral("이미지 저장 오류"));
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(messages.Shown[0].Owner, dlg.get());
    EXPECT_FALSE(QFile::exists(Path("empty.gif")));
}

} // namespace
