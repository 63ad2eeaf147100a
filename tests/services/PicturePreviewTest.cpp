#include "services/FileDialogSeam.h"
#include "services/PicturePreview.h"

#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <QTreeView>
#include <gtest/gtest.h>

#include <memory>

using namespace tavrin;

namespace {

class PicturePreviewTest : public ::testing::Test
{
  protected:
    QString Picture(const QString& name, QSize size, const char* format = "PNG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString path = Dir.filePath(name);
        image.save(path, format);
        return path;
    }
    QString Bytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = Dir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly)) f.write(bytes);
        return path;
    }

    QTemporaryDir Dir;
};

} // namespace

TEST_F(PicturePreviewTest, PicturesAreScaledToFitAndNamedByTheirSize)
{
    struct Case
    {
        QString Path;
        QSize Shown;
        QString TextPart;
        std::int64_t Limit = kPreviewMaxFileBytes;
    };
    const Case cases[] = {
        {Picture("wide.png", {640, 480}), {200, 150}, "640 × 480 화소"},
        {Picture("tall.bmp", {100, 1000}, "BMP"), {20, 200}, "100 × 1,000 화소"},
        {Picture("small.jpg", {20, 10}, "JPG"), {20, 10}, "20 × 10 화소"}, // never enlarged
        {Picture("big.png", {64, 64}), {0, 0}, "파일이 커서", 100},
        {Bytes("broken.png", "\x89PNG\r\n\x1a\nnot really"), {0, 0}, "읽을 수 없습니다"},
        {Bytes("notes.txt", "text"), {0, 0}, "미리 볼 수 없는 형식"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path.toStdString());
        const TPreviewResult result = MakePreview(c.Path, {200, 200}, c.Limit);
        EXPECT_EQ(result.Picture.size(), c.Shown);
        EXPECT_TRUE(result.Text.contains(c.TextPart)) << result.Text.toStdString();
    }
    EXPECT_TRUE(MakePreview(Dir.path(), {200, 200}).Text.isEmpty()); // a folder: nothing to say
}

TEST_F(PicturePreviewTest, TheNewestSelectionWinsAndAClosedPreviewIsNotTouched)
{
    const QString first = Picture("first.png", {3000, 2000});
    const QString second = Picture("second.png", {300, 200});
    TPicturePreview preview;
    QSignalSpy shown(&preview, &TPicturePreview::PreviewShown);
    preview.ShowFile(first);
    preview.ShowFile(second);
    ASSERT_TRUE(shown.wait(10000));
    QTest::qWait(200); // a late result for the first file would arrive now
    EXPECT_EQ(preview.Text(), QStringLiteral("300 × 200 화소"));
    EXPECT_EQ(preview.Picture().size(), QSize(200, 133));

    // Closing the dialog while a reading is under way must leave the reading nothing to write to.
    auto closing = std::make_unique<TPicturePreview>();
    closing->ShowFile(first);
    closing.reset();
    QTest::qWait(500);
}

TEST_F(PicturePreviewTest, TheOpenDialogGetsThePreviewAndWholeColumns)
{
    const QString path = Picture("rose.png", {120, 80});
    QFileDialog dialog(nullptr, QStringLiteral("이미지 열기"), Dir.path(), QStringLiteral("PNG (*.png)"));
    DecorateOpenDialog(dialog);
    auto* preview = dialog.findChild<TPicturePreview*>();
    ASSERT_NE(preview, nullptr);
    const auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(list, nullptr);
    for (int column = 1; column < list->header()->count(); ++column)
        EXPECT_EQ(list->header()->sectionResizeMode(column), QHeaderView::ResizeToContents) << column;

    QSignalSpy shown(preview, &TPicturePreview::PreviewShown);
    emit dialog.currentChanged(path);
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(preview->Text(), QStringLiteral("120 × 80 화소"));
}
