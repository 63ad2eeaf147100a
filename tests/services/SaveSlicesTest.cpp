// Writing the pieces of a grid: stopping part-way keeps what was written and writes nothing more.
#include "core/Bitmap32.h"
#include "services/MessageSeamScripted.h"
#include "services/SaveSlices.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tavrin;

TEST(SaveSlices, CancelKeepsThePiecesWrittenAndSkipsThePage)
{
    QTemporaryDir dir;
    TBitmap32 picture(30, 20);
    picture.Clear(0xFF102030);
    const TSliceGrid grid = MakeSliceGrid({10, 20}, {10}, 30, 20);
    TScriptedMessageSeam messages;
    const TSlicesRequest request{dir.path(), QStringLiteral("p"), QStringLiteral("bmp"), true, QStringLiteral("p")};
    std::vector<int> seen;
    const TSlicesOutcome outcome = SaveSlices(picture, grid, request, messages, [&](int done, int total) {
        EXPECT_EQ(total, 6);
        seen.push_back(done);
        return done < 2;
    });
    EXPECT_TRUE(outcome.Cancelled);
    EXPECT_EQ(outcome.Written, 2);
    EXPECT_FALSE(outcome.PageWritten);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"p_1_1.bmp", "p_1_2.bmp"}));
    EXPECT_EQ(SliceFilePaths(grid, request).size(), 7);
}
