// The grid of pieces the guides cut a picture into, the pieces' file names and the page that puts
// them back together (the page itself is checked in a real browser by the shell tests).
#include "FakeView.h"
#include "core/ImgEditor.h"
#include "core/SliceGrid.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tavrin;
using tavrin::test::FakeView;

namespace {

struct GridCase
{
    const char* name;
    std::vector<int> vertical;
    std::vector<int> horizontal;
    int width, height;
    std::vector<int> columns, rows;
};

class SliceGridCases : public ::testing::TestWithParam<GridCase>
{};

} // namespace

TEST_P(SliceGridCases, EdgesAreTheDistinctInnerGuidesClosedByThePicture)
{
    const GridCase& c = GetParam();
    const TSliceGrid grid = MakeSliceGrid(c.vertical, c.horizontal, c.width, c.height);
    EXPECT_EQ(grid.Columns, c.columns);
    EXPECT_EQ(grid.Rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Grids, SliceGridCases,
    ::testing::Values(GridCase{"NoGuides", {}, {}, 300, 200, {0, 300}, {0, 200}},
                      GridCase{"UnsortedAndRepeated", {200, 50, 200, 120}, {150, 40}, 300, 200,
                               {0, 50, 120, 200, 300}, {0, 40, 150, 200}},
                      GridCase{"OnEdgesAndOutside", {0, 300, -5, 301, 10}, {200, 0, 9999}, 300, 200,
                               {0, 10, 300}, {0, 200}},
                      GridCase{"EmptyPicture", {10}, {10}, 0, 0, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SliceGrid, CellsCoverThePictureRowByRow)
{
    const TSliceGrid grid = MakeSliceGrid({100}, {30, 80}, 250, 120);
    ASSERT_EQ(grid.RowCount(), 3);
    ASSERT_EQ(grid.ColumnCount(), 2);
    EXPECT_EQ(grid.CellCount(), 6);
    EXPECT_EQ(grid.Cell(0, 0), (TRect{0, 0, 100, 30}));
    EXPECT_EQ(grid.Cell(1, 1), (TRect{100, 30, 250, 80}));
    EXPECT_EQ(grid.Cell(2, 1), (TRect{100, 80, 250, 120}));
    EXPECT_EQ(MakeSliceGrid({}, {}, 0, 5).CellCount(), 0);
}

TEST(SliceGrid, GuidesAreCollectedFromTheDocumentsLayers)
{
    FakeView view{400, 300};
    TImgEditor doc;
    doc.AttachView(view);
    // One of each kind, dragged out of the rulers and dropped at image positions at 100 %.
    doc.AddVerticalGuide(2, 300);
    doc.DragGuideStep(120, 5);
    doc.FDragGuide = nullptr;
    doc.AddHorizontalGuide(2, 400);
    doc.DragGuideStep(5, 70);
    doc.FDragGuide = nullptr;

    std::vector<int> vertical, horizontal;
    CollectGuidePositions(view.Layers(), vertical, horizontal);
    ASSERT_EQ(vertical.size(), 1u);
    ASSERT_EQ(horizontal.size(), 1u);
    const TSliceGrid grid = MakeSliceGrid(vertical, horizontal, 400, 300);
    EXPECT_EQ(grid.CellCount(), 4);
    EXPECT_EQ(grid.Columns[1], vertical[0]);
    EXPECT_EQ(grid.Rows[1], horizontal[0]);
}

TEST(SliceGrid, PieceNamesArePaddedToTheLargestNumber)
{
    struct
    {
        int row, column, rows, columns;
        const char* expected;
    } const cases[] = {
        {1, 3, 12, 4, "banner_01_03.png"},
        {1, 1, 1, 1, "banner_1_1.png"},
        {7, 10, 9, 10, "banner_07_10.png"},
        {100, 5, 100, 100, "banner_100_005.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PieceFileName("banner", c.row, c.column, c.rows, c.columns, "png"), c.expected);
}

TEST(SliceGrid, PageListsEveryPieceWithItsSizeAndEscapesNames)
{
    const TSliceGrid grid = MakeSliceGrid({100}, {30}, 250, 120);
    const std::string page = SlicePageHtml(grid, "a \"b\"#1", "png", "<배너> & co");
    EXPECT_NE(page.find("<title>&lt;배너&gt; &amp; co</title>"), std::string::npos);
    EXPECT_NE(page.find("grid-template-columns: 100px 150px;"), std::string::npos);
    EXPECT_NE(page.find("grid-template-rows: 30px 90px;"), std::string::npos);
    EXPECT_NE(page.find("<img src=\"a%20%22b%22%231_2_1.png\" width=\"100\" height=\"90\" alt=\"\">"),
              std::string::npos);
    EXPECT_EQ(page.find("\"b\""), std::string::npos);
}
