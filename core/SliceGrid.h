#pragma once
// The grid that the guides cut a picture into, and the names and page of its pieces.
//
// The lines are the distinct guide positions strictly inside the picture, sorted; the picture's own
// edges close the grid, so with no guides there is one cell: the whole picture. Guides on an edge or
// outside the picture cut nothing.

#include "core/Geometry.h"

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

class TLayerCollection;

struct TSliceGrid
{
    std::vector<int> Columns; // x edges: 0, the inner vertical guides, width
    std::vector<int> Rows;    // y edges: 0, the inner horizontal guides, height

    int ColumnCount() const { return Columns.size() < 2 ? 0 : static_cast<int>(Columns.size()) - 1; }
    int RowCount() const { return Rows.size() < 2 ? 0 : static_cast<int>(Rows.size()) - 1; }
    int CellCount() const { return ColumnCount() * RowCount(); }
    // The cell of 0-based row and column, in image pixels.
    TRect Cell(int row, int column) const;
};

// The grid of a picture of width × height cut at the given guide positions. An empty picture has no
// cells.
TSliceGrid MakeSliceGrid(std::vector<int> verticalGuides, std::vector<int> horizontalGuides, int width,
                         int height);

// The positions of the vertical (lkGuideX) and horizontal (lkGuideY) guides among the layers.
void CollectGuidePositions(const TLayerCollection& layers, std::vector<int>& verticalGuides,
                           std::vector<int>& horizontalGuides);

// "<base>_<row>_<column>.<ext>", rows and columns counted from 1 and padded with zeros to the width
// of the largest of them: banner_01_03.png in a grid of 12 rows.
std::string PieceFileName(std::string_view base, int row, int column, int rowCount, int columnCount,
                          std::string_view extension);

// An HTML5 page (UTF-8) that shows the pieces in a grid without gaps, so that a browser shows the
// original picture. `title` is written as text, escaped for HTML; file names are escaped for
// attribute values. Lines end with LF.
std::string SlicePageHtml(const TSliceGrid& grid, std::string_view base, std::string_view extension,
                          std::string_view title);

} // namespace tavrin
