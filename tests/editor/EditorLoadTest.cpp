#include "EditorFixture.h"
#include "editor/RsRuler.h"

#include <QImage>
#include <QTemporaryDir>

using namespace tavrin;
using tavrin::test::EditorFixture;

namespace {

struct EditorLoad : EditorFixture
{
    QTemporaryDir dir;
    void SetUp() override
    {
        editor = std::make_unique<TFmEditor>(messages);
        editor->resize(800, 600);
        editor->show();
    }
};

} // namespace

TEST_F(EditorLoad, NewImageIsWhiteAtTwoHundredPercent)
{
    std::vector<int> reported;
    editor->OnChangeScal = [&](TFmEditor& e) { reported.push_back(e.GetScalePercent()); };
    editor->NewImage(300, 200);
    EXPECT_EQ(reported, std::vector<int>{200});
    EXPECT_EQ(image().Bitmap().Width(), 300);
    EXPECT_EQ(image().Bitmap().Pixel(299, 199), clWhite32);
    EXPECT_EQ(image().size(), QSize(600, 400));
    EXPECT_EQ(editor->RulerLeft().Scale(), 200);
    EXPECT_TRUE(doc().FFileName.empty());
}

TEST_F(EditorLoad, NewImageOfNoOrImpossibleSizeIsEmpty)
{
    for (auto [w, h] : {std::pair{0, 10}, {-5, 10}, {100000, 100000}}) {
        editor->NewImage(w, h);
        EXPECT_TRUE(image().Bitmap().Empty()) << w << " x " << h;
    }
}

TEST_F(EditorLoad, LoadFromFileShowsThePictureUnderItsName)
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    const QString path = dir.filePath("sample.png");
    ASSERT_TRUE(picture.save(path));
    ASSERT_TRUE(editor->LoadFromFile(path));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("sample.png"));
    EXPECT_EQ(doc().FFileName, path.toStdString());
    EXPECT_EQ(image().size(), QSize(300, 200));
    EXPECT_EQ(editor->GetScalePercent(), 100);
    EXPECT_EQ(image().Bitmap().Pixel(5, 5), 0xFF0A141Eu);
}

TEST_F(EditorLoad, FailureLeavesTheWindowAsItWas)
{
    editor->setWindowTitle(QStringLiteral("새 그림1"));
    QString error;
    QImage(4, 4, QImage::Format_RGB32).save(dir.filePath("photo.ppm"), "PPM"); // an ending no reader has
    EXPECT_FALSE(editor->LoadFromFile(dir.filePath("photo.ppm"), &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Assertion failure\n"))) << error.toStdString();
    QFile broken(dir.filePath("broken.png"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nnot really");
    broken.close();
    EXPECT_FALSE(editor->LoadFromFile(broken.fileName(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("새 그림1"));
    EXPECT_TRUE(doc().FFileName.empty());
    EXPECT_TRUE(image().Bitmap().Empty());
}

TEST_F(EditorLoad, MissingFileShowsThePlaceholderUnderItsName)
{
    ASSERT_TRUE(editor->LoadFromFile(QStringLiteral("http://example.com/pics/logo.gif")));
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("//example.com/pics/logo.gif"));
    EXPECT_EQ(image().Bitmap().Width(), 32);
    EXPECT_FALSE(doc().FFileName.empty());
}

TEST(FilePartOfName, CutsFilesAtEveryKindOfSeparatorAndWebAddressesAtTheLastColon)
{
    EXPECT_EQ(FilePartOfName("http://h.kr/a.gif"), "//h.kr/a.gif");
    EXPECT_EQ(FilePartOfName("https://h.kr:8080/p/a.png"), "8080/p/a.png");
    EXPECT_EQ(FilePartOfName("/home/a:b/c/d.png"), "d.png");
    EXPECT_EQ(FilePartOfName("/home/a/b.png"), "b.png");
    EXPECT_EQ(FilePartOfName("C:\\PIC\\photo.jpg"), "photo.jpg");
    EXPECT_EQ(FilePartOfName("C:photo.jpg"), "photo.jpg");
    EXPECT_EQ(FilePartOfName("plain.gif"), "plain.gif");
}
