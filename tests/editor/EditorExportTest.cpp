// Saving the region, copying it and pasting pictures, through the real editor window with scripted dialogs.
#include "EditorFixture.h"

#include "services/FileDialogSeamScripted.h"

#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>

#include <zlib.h>

using namespace tavrin;
using tavrin::test::EditorFixture;

namespace {

const QString kSaveError = QStringLiteral("이미지 저장 오류");

struct EditorExport : EditorFixture
{
    QTemporaryDir dir;
    TScriptedFileDialogSeam dialogs;

    // A 40 x 30 picture, a different colour in its left half, and the whole of it as the region.
    void OpenWithRegion()
    {
        Open(40, 30);
        image().Bitmap().FillRect(0, 0, 20, 30, 0xFFC00000);
        image().BitmapChanged();
        editor->SetFileDialogs(dialogs);
        editor->setWindowTitle("photo.jpg");
        QTest::mouseClick(&image(), Qt::LeftButton, {}, QPoint(5, 5)); // no guides: the cell is the picture
        ASSERT_EQ(doc().FSelBitmap.Width(), 40);
    }

    QString PathOf(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    void Answer(const QString& path, int entry = 3) { dialogs.SaveAnswers.push_back({path, entry}); }

    std::vector<QString> Texts() const
    {
        std::vector<QString> texts;
        for (const TMessage& m : messages.Shown)
            texts.push_back(m.Text);
        return texts;
    }
};

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A PNG that claims 20000 x 20000 pixels, with hardly any data.
QByteArray HugePngHeader()
{
    QByteArray ihdr("IHDR");
    for (std::uint32_t v : {20000u, 20000u})
        for (int shift : {24, 16, 8, 0})
            ihdr.append(static_cast<char>(v >> shift));
    ihdr.append("\x08\x02\x00\x00\x00", 5);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(ihdr.constData()), static_cast<uInt>(ihdr.size()));
    QByteArray png("\x89PNG\r\n\x1A\n\x00\x00\x00\x0D", 12);
    png += ihdr;
    for (int shift : {24, 16, 8, 0})
        png.append(static_cast<char>(crc >> shift));
    // A small image data chunk and the end, so that the file is whole and only its size is wrong.
    png.append("\x00\x00\x00\x0AIDAT", 8).append(14, '\0');
    png.append("\x00\x00\x00\x00IEND\xAE\x42\x60\x82", 12);
    return png;
}

} // namespace

TEST_F(EditorExport, NoRegionAsksToSelectAndShowsNoDialog)
{
    Open(40, 30);
    editor->SetFileDialogs(dialogs);
    editor->SaveSelection();
    EXPECT_TRUE(dialogs.SaveRequests.empty());
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("저장할 이미지를 선택해주세요."));
    EXPECT_EQ(messages.Shown[0].Caption, kSaveError);
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_EQ(messages.Shown[0].Owner, editor.get());
}

TEST_F(EditorExport, DialogProposesTheCaptionAndCancelWritesNothing)
{
    OpenWithRegion();
    editor->SaveSelection();
    ASSERT_EQ(dialogs.SaveRequests.size(), 1u);
    const TSaveDialogRequest& r = dialogs.SaveRequests[0];
    EXPECT_EQ(r.Title, QStringLiteral("저장할 파일명을 입력하세요"));
    EXPECT_EQ(r.FileName, QStringLiteral("photo"));
    EXPECT_EQ(r.DefaultExt, QStringLiteral("png"));
    EXPECT_EQ(r.FilterIndex, 3);
    EXPECT_TRUE(r.Filter.startsWith("JPEG Image Files (*.jpg;*.jpeg)|*.jpg|CompuServe GIF Image (*.gif)|*.gif|"));
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(EditorExport, SavedRegionReadsBack)
{
    OpenWithRegion();
    Answer(PathOf("piece.png"));
    editor->SaveSelection();
    EXPECT_TRUE(messages.Shown.empty());
    const QImage back(PathOf("piece.png"));
    ASSERT_EQ(back.size(), QSize(40, 30));
    EXPECT_EQ(back.pixel(5, 5), 0xFFC00000u);
    EXPECT_EQ(back.pixel(30, 5), 0xFF336699u);
}

// Arrow keys move a selection and its region together: the file holds the pixels under the band
// the user sees, not those of its place before the keys.
TEST_F(EditorExport, NudgedSelectionSavesThePixelsUnderItsBand)
{
    Open(200, 150);
    TBitmap32& picture = image().Bitmap();
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(
                x, y, MakeColor32(255, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 0x40));
    image().BitmapChanged();
    editor->SetFileDialogs(dialogs);
    editor->SetToolMode(TToolMode::tmSelect);
    Drag({30, 40}, {110, 100});
    ASSERT_EQ(LayersOfKind(lkSelection).size(), 1u);
    auto* band = static_cast<TRubberbandLayer*>(LayersOfKind(lkSelection)[0]);
    QTest::mouseClick(&image(), Qt::LeftButton, {}, {70, 70}); // the band is the region now
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(editor.get(), Qt::Key_Right);
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(editor.get(), Qt::Key_Up);
    const TFloatBounds shown = band->Bounds();
    ASSERT_EQ(shown, (TFloatBounds{50, 35, 130, 95}));

    Answer(PathOf("nudged.png"));
    editor->SaveSelection();
    EXPECT_TRUE(messages.Shown.empty());
    const QImage back = QImage(PathOf("nudged.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), QSize(80, 60));
    int wrong = 0;
    for (int y = 0; y < back.height(); ++y)
        for (int x = 0; x < back.width(); ++x)
            wrong += (back.pixel(x, y) & 0xFFFFFFu) != (picture.Pixel(50 + x, 35 + y) & 0xFFFFFFu);
    EXPECT_EQ(wrong, 0);
}

TEST_F(EditorExport, ReplacingAFileAsksFirst)
{
    OpenWithRegion();
    const QString path = PathOf("old.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
    f.close();
    // No: back to the dialog with the typed name, then cancel there.
    Answer(path, 5);
    messages.Answers = {TMsgButton::No};
    editor->SaveSelection();
    ASSERT_EQ(dialogs.SaveRequests.size(), 2u);
    EXPECT_EQ(dialogs.SaveRequests[1].FileName, path);
    EXPECT_EQ(dialogs.SaveRequests[1].FilterIndex, 5);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.contains("old.bmp"));
    EXPECT_EQ(messages.Shown[0].DefaultButton, TMsgButton::No);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    // Yes: replaced.
    Answer(path, 5);
    messages.Answers = {TMsgButton::Yes};
    editor->SaveSelection();
    EXPECT_EQ(QImage(path).size(), QSize(40, 30));
}

TEST_F(EditorExport, FailuresShowOneMessageEach)
{
    OpenWithRegion();
    const QString failed = QStringLiteral("이미지 저장에 실패하였습니다.");
    Answer(PathOf("photo.tif")); // an ending no writer has: the endings that work are named
    editor->SaveSelection();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text,
              failed + QStringLiteral("\r\n이름이 \".tif\"(으)로 끝나는 파일로는 저장할 수 없습니다. 저장할 수 있는 "
                                      "파일 이름의 끝: .BMP, .CUR, .GIF, .ICO, .JPEG, .JPG, .MNG, .PCX, .PNG"));
    EXPECT_FALSE(QFile::exists(PathOf("photo.tif")));

    messages.Shown.clear(); // the JPEG entry's other ending is a JPEG
    Answer(PathOf("photo.jpeg"), 1);
    editor->SaveSelection();
    EXPECT_TRUE(messages.Shown.empty());
    EXPECT_TRUE(ReadAll(PathOf("photo.jpeg")).startsWith("\xFF\xD8\xFF"));
    ASSERT_TRUE(QFile::remove(PathOf("photo.jpeg")));

    messages.Shown.clear(); // a 40 x 30 icon: the size message, then the failure
    Answer(PathOf("x.ico"), 9);
    editor->SaveSelection();
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_TRUE(messages.Shown[0].Text.startsWith(QStringLiteral("이미지를 아이콘으로")));
    EXPECT_EQ(messages.Shown[1].Text, failed);

    messages.Shown.clear(); // a writer error names the file and the reason, and nothing else is shown
    Answer(PathOf("missing/piece.png"));
    editor->SaveSelection();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Caption, kSaveError);
    EXPECT_TRUE(messages.Shown[0].Text.contains("piece.png"));
    EXPECT_NE(messages.Shown[0].Text, failed);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(EditorExport, AProtectedFileIsRefusedBeforeTheReplaceQuestion)
{
    OpenWithRegion();
    const QString path = PathOf("locked.png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("locked");
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));

    Answer(path); // then the dialog, asked again with the name typed, is cancelled
    editor->SaveSelection();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Caption, kSaveError);
    EXPECT_TRUE(messages.Shown[0].Text.contains("locked.png")) << messages.Shown[0].Text.toStdString();
    ASSERT_EQ(dialogs.SaveRequests.size(), 2u);
    EXPECT_EQ(dialogs.SaveRequests[1].FileName, path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "locked");
}

TEST_F(EditorExport, CopyPutsTheRegionOnTheClipboard)
{
    OpenWithRegion();
    editor->CopySelection();
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(40, 30));
    EXPECT_EQ(copied.pixel(5, 5), 0xFFC00000u);
    EXPECT_FALSE(copied.hasAlphaChannel());
}

TEST_F(EditorExport, PasteAsksAndReplacesOnlyThePicture)
{
    Open(40, 30);
    QImage picture(12, 8, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0)); // transparent: pasted over white
    picture.setPixel(1, 1, 0xFF102030);
    QGuiApplication::clipboard()->setImage(picture);
    editor->setWindowTitle("photo.jpg");
    doc().FFileName = "/pictures/photo.jpg";
    editor->ChangeScale(0.5f);
    const int zoom = editor->GetScalePercent();
    const int layerCount = layers().Count();

    const QString question = QStringLiteral("현재 클립보드에 있는 이미지를 붙여넣으시겠습니까?\r\n"
                                            "이미지를 붙여넣으면 기존의 이미지는 없어집니다.");
    for (std::deque<TMsgButton> answer : {std::deque<TMsgButton>{TMsgButton::Cancel}, std::deque<TMsgButton>{}}) {
        messages.Answers = answer; // Cancel, or the default button (Cancel)
        messages.Shown.clear();
        editor->PasteImage();
        ASSERT_EQ(messages.Shown.size(), 1u);
        EXPECT_EQ(messages.Shown[0].Text, question);
        EXPECT_EQ(messages.Shown[0].Caption, QStringLiteral("이미지 붙여넣기"));
        EXPECT_EQ(messages.Shown[0].DefaultButton, TMsgButton::Cancel);
        EXPECT_EQ(image().Bitmap().Width(), 40);
    }

    messages.Answers = {TMsgButton::Ok};
    editor->PasteImage();
    EXPECT_EQ(image().Bitmap().Width(), 12);
    EXPECT_EQ(image().Bitmap().Pixel(1, 1), 0xFF102030u);
    EXPECT_EQ(image().Bitmap().Pixel(0, 0), clWhite32);
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("photo.jpg"));
    EXPECT_EQ(doc().FFileName, "/pictures/photo.jpg");
    EXPECT_EQ(editor->GetScalePercent(), zoom);
    EXPECT_EQ(layers().Count(), layerCount);
}

TEST_F(EditorExport, PasteOfTextOrAnUnreadablePictureLeavesThePicture)
{
    Open(40, 30);
    auto huge = std::make_unique<QMimeData>();
    huge->setData("image/png", HugePngHeader());
    QImage noisy(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < noisy.height(); ++y)
        for (int x = 0; x < noisy.width(); ++x)
            noisy.setPixel(x, y, qRgb((x * 97 + y * 31) & 0xFF, (x * y * 13) & 0xFF, (x ^ y) * 4 & 0xFF));
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(noisy.save(&buffer, "PNG"));
    auto cut = std::make_unique<QMimeData>();
    cut->setData("image/png", png.left(png.size() * 4 / 10)); // not pasted with its lower part black
    struct
    {
        std::function<void()> Fill;
        const char* Expected;
    } cases[] = {
        {[] { QGuiApplication::clipboard()->setText("텍스트"); }, "지원되는 포멧이 아닙니다."},
        {[&] { QGuiApplication::clipboard()->setMimeData(huge.release()); }, "20000"},
        {[&] { QGuiApplication::clipboard()->setMimeData(cut.release()); }, "파일이 중간에 끊겨 있습니다."},
    };
    for (const auto& c : cases) {
        c.Fill();
        messages.Shown.clear();
        messages.Answers = {TMsgButton::Ok};
        editor->PasteImage();
        ASSERT_EQ(messages.Shown.size(), 2u);
        EXPECT_EQ(messages.Shown[1].Caption, QStringLiteral("붙여넣기 오류"));
        EXPECT_EQ(messages.Shown[1].Icon, TMsgIcon::Warning);
        EXPECT_EQ(messages.Shown[1].Owner, nullptr);
        EXPECT_TRUE(messages.Shown[1].Text.contains(QString::fromUtf8(c.Expected))) << messages.Shown[1].Text.toStdString();
        EXPECT_EQ(image().Bitmap().Width(), 40);
        EXPECT_EQ(image().Bitmap().Pixel(0, 0), 0xFF336699u);
    }
}
