// Saving every piece of the guide grid from the editor window: the files, their pixels, the page, the
// question before replacing files and a failure part-way.
#include "EditorFixture.h"

#include "core/SliceGrid.h"
#include "dialogs/FmSaveSlices.h"
#include "services/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tavrin;
using tavrin::test::EditorFixture;

namespace {

struct SaveAllPiecesFixture : EditorFixture
{
    QTemporaryDir dir;

    void SetUp() override
    {
        Open(120, 80);
        TBitmap32& picture = image().Bitmap();
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) picture.SetPixel(x, y, MakeColor32(255, x * 2, y * 3, (x + y) & 0xFF));
        image().BitmapChanged();
        AddGuide(true, 40);
        AddGuide(true, 90);
        AddGuide(false, 30);
        editor->setWindowTitle(QStringLiteral("배너.png"));
        editor->RunSlicesDialog = [this](TFmSaveSlices& dialog) {
            proposedBase = dialog.BaseName();
            dialog.SetFolder(dir.path());
            return true;
        };
    }

    void AddGuide(bool vertical, int at)
    {
        if (vertical)
            doc().AddVerticalGuide(2, 80);
        else
            doc().AddHorizontalGuide(2, 120);
        doc().DragGuideStep(at, at);
        doc().FDragGuide = nullptr;
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    QString proposedBase;
};

} // namespace

TEST_F(SaveAllPiecesFixture, WritesEveryCellAndThePage)
{
    std::vector<int> vertical, horizontal;
    CollectGuidePositions(layers(), vertical, horizontal);
    const TSliceGrid grid = MakeSliceGrid(vertical, horizontal, 120, 80);
    ASSERT_EQ(grid.RowCount(), 2);
    ASSERT_EQ(grid.ColumnCount(), 3);

    editor->SaveAllPieces();
    EXPECT_EQ(proposedBase, QStringLiteral("배너"));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            const std::string name = PieceFileName("배너", row + 1, column + 1, 2, 3, "png");
            const QImage piece(dir.filePath(QString::fromStdString(name)));
            const TRect cell = grid.Cell(row, column);
            ASSERT_EQ(piece.size(), QSize(cell.Width(), cell.Height())) << name;
            for (int y = 0; y < cell.Height(); ++y)
                for (int x = 0; x < cell.Width(); ++x)
                    ASSERT_EQ(piece.pixel(x, y), image().Bitmap().Pixel(cell.Left + x, cell.Top + y) | 0xFF000000u)
                        << name << " at " << x << "," << y;
        }
    }
    EXPECT_TRUE(QFile::exists(Path("배너.html")));
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("조각 6개와 HTML 페이지를 저장했습니다."));
}

TEST_F(SaveAllPiecesFixture, AsksOnceBeforeReplacingAndNoKeepsTheFiles)
{
    QFile old(Path("배너_2_3.png"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    messages.Answers = {TMsgButton::No};
    editor->SaveAllPieces();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("같은 이름의 파일이 1개 있습니다. 바꾸시겠습니까?"));
    EXPECT_FALSE(QFile::exists(Path("배너_1_1.png")));
    QFile kept(Path("배너_2_3.png"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
}

TEST_F(SaveAllPiecesFixture, AFailurePartWaySaysHowManyWereWrittenAndLeavesNoPartialFile)
{
    TFileWriteFault fault;
    fault.FailAtWrite = 1;
    SetFileWriteFaultForTest(fault); // every file's first write fails, as on a full disk
    editor->SaveAllPieces();
    ClearFileWriteFaultForTest();
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Icon, TMsgIcon::Error);
    EXPECT_TRUE(messages.Shown[0].Text.contains(QStringLiteral("조각 6개 중 0개를 저장했습니다.")))
        << messages.Shown[0].Text.toStdString();
    EXPECT_TRUE(messages.Shown[0].Text.contains(QStringLiteral("배너_1_1.png")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "no partial file may be left";
}

TEST_F(SaveAllPiecesFixture, AnEmptyPictureHasNoPieces)
{
    image().Bitmap().SetSize(0, 0);
    image().BitmapChanged();
    bool asked = false;
    editor->RunSlicesDialog = [&](TFmSaveSlices&) { return asked = true; };
    editor->SaveAllPieces();
    EXPECT_FALSE(asked);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Text, QStringLiteral("그림이 비어 있어 저장할 조각이 없습니다."));
}

// Through the real dialog: a folder typed that does not exist is made after a Yes, and the pieces go there.
TEST_F(SaveAllPiecesFixture, AMissingFolderIsMadeAfterAskingAndFilled)
{
    const QString folder = dir.filePath("web/pieces");
    editor->RunSlicesDialog = [&](TFmSaveSlices& dialog) {
        dialog.SetFolder(folder);
        dialog.BuOk().click();
        return dialog.result() == QDialog::Accepted;
    };
    messages.Answers = {TMsgButton::Yes};
    editor->SaveAllPieces();
    ASSERT_EQ(messages.Shown.size(), 2u);
    EXPECT_TRUE(messages.Shown[0].Text.startsWith(QStringLiteral("폴더가 없습니다: "))) << messages.Shown[0].Text.toStdString();
    EXPECT_EQ(messages.Shown[1].Text, QStringLiteral("조각 6개와 HTML 페이지를 저장했습니다."));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath(QStringLiteral("배너_2_3.png"))));
    EXPECT_TRUE(QFile::exists(QDir(folder).filePath(QStringLiteral("배너.html"))));
}
