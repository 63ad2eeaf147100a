#include "core/SliceGrid.h"

#include "core/InfoLayer.h"
#include "core/LayerCollection.h"
#include "core/LayerKinds.h"

#include <algorithm>

namespace tavrin {

namespace {

std::vector<int> GridEdges(std::vector<int> guides, int extent)
{
    if (extent <= 0) return {};
    std::erase_if(guides, [extent](int g) { return g <= 0 || g >= extent; });
    std::sort(guides.begin(), guides.end());
    guides.erase(std::unique(guides.begin(), guides.end()), guides.end());
    guides.insert(guides.begin(), 0);
    guides.push_back(extent);
    return guides;
}

int DigitCount(int value)
{
    int digits = 1;
    for (; value >= 10; value /= 10) ++digits;
    return digits;
}

std::string ZeroPadded(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
    return text;
}

// A file name as the relative URL of an src attribute: every byte outside the unreserved characters
// is percent-encoded, so '#', '?', '%', spaces, quotes and Korean names all reach the file as named.
std::string RelativeUrl(std::string_view name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url;
    for (const char c : name) {
        const auto b = static_cast<unsigned char>(c);
        const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                                b == '-' || b == '.' || b == '_' || b == '~';
        if (unreserved) {
            url += c;
        } else {
            url += '%';
            url += kHex[b >> 4];
            url += kHex[b & 15];
        }
    }
    return url;
}

std::string HtmlText(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string PixelList(const std::vector<int>& edges)
{
    std::string list;
    for (size_t i = 1; i < edges.size(); ++i) {
        if (!list.empty()) list += ' ';
        list += std::to_string(edges[i] - edges[i - 1]) + "px";
    }
    return list;
}

} // namespace

TRect TSliceGrid::Cell(int row, int column) const
{
    return {Columns[column], Rows[row], Columns[column + 1], Rows[row + 1]};
}

TSliceGrid MakeSliceGrid(std::vector<int> verticalGuides, std::vector<int> horizontalGuides, int width,
                         int height)
{
    if (width <= 0 || height <= 0) return {};
    return {GridEdges(std::move(verticalGuides), width), GridEdges(std::move(horizontalGuides), height)};
}

void CollectGuidePositions(const TLayerCollection& layers, std::vector<int>& verticalGuides,
                           std::vector<int>& horizontalGuides)
{
    for (int i = 0; i < layers.Count(); ++i) {
        const auto* guide = dynamic_cast<const TInfoLayer*>(layers.Items(i));
        if (!guide) continue;
        if (guide->Tag == lkGuideX) verticalGuides.push_back(guide->GuideX);
        if (guide->Tag == lkGuideY) horizontalGuides.push_back(guide->GuideY);
    }
}

std::string PieceFileName(std::string_view base, int row, int column, int rowCount, int columnCount,
                          std::string_view extension)
{
    const int width = DigitCount(std::max(rowCount, columnCount));
    std::string name(base);
    name += '_' + ZeroPadded(row, width) + '_' + ZeroPadded(column, width);
    name += '.';
    name += extension;
    return name;
}

std::string SlicePageHtml(const TSliceGrid& grid, std::string_view base, std::string_view extension,
                          std::string_view title)
{
    const int width = grid.Columns.empty() ? 0 : grid.Columns.back();
    std::string page = "<!DOCTYPE html>\n<html lang=\"ko\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>" + HtmlText(title) + "</title>\n<style>\n";
    page += "body { margin: 0; }\n";
    page += ".pieces { display: grid; gap: 0; width: " + std::to_string(width) + "px;\n";
    page += "  grid-template-columns: " + PixelList(grid.Columns) + ";\n";
    page += "  grid-template-rows: " + PixelList(grid.Rows) + "; }\n";
    page += ".pieces img { display: block; border: 0; }\n</style>\n</head>\n<body>\n<div class=\"pieces\">\n";
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid.ColumnCount(); ++column) {
            const TRect cell = grid.Cell(row, column);
            const std::string name =
                PieceFileName(base, row + 1, column + 1, grid.RowCount(), grid.ColumnCount(), extension);
            page += "<img src=\"" + RelativeUrl(name) + "\" width=\"" + std::to_string(cell.Width()) +
                    "\" height=\"" + std::to_string(cell.Height()) + "\" alt=\"\">\n";
        }
    }
    page += "</div>\n</body>\n</html>\n";
    return page;
}

} // namespace tavrin
