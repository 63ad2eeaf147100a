#include "core/MapMarkup.h"

#include "core/EditorView.h"
#include "core/ImgEditor.h"
#include "core/ImgMap.h"
#include "core/LayerCollection.h"
#include "core/LayerKinds.h"

#include <cctype>

namespace tavrin {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

std::string MapStartLine(std::string_view name)
{
    std::string text = "<map name=\"";
    text += AttributeValue(name);
    text += "\">";
    text += kLineBreak;
    return text;
}

constexpr std::string_view kMapEnd = "</map>";

} // namespace

std::string AttributeValue(std::string_view value)
{
    std::string text;
    text.reserve(value.size());
    for (const char c : value) {
        if (c == '"')
            text += "&quot;";
        else
            text += c;
    }
    return text;
}

TAreaText StoredAreaText(const TImageMapLyer& area)
{
    return {area.FShapeName, area.CoordsText(), area.FHref, area.FTarget, area.FAlt};
}

std::string AreaElementLine(const TAreaText& area)
{
    std::string text = "<area shape=\"" + AttributeValue(area.ShapeName) + "\" coords=\"" +
                       AttributeValue(area.Coords) + "\" href=\"" + AttributeValue(area.Href) + "\" target=\"" +
                       AttributeValue(area.Target) + "\" alt=\"" + AttributeValue(area.Alt) + "\">";
    text += kLineBreak;
    return text;
}

std::string SingleAreaMarkup(std::string_view mapName, const TAreaText& area)
{
    std::string text = MapStartLine(mapName);
    text += AreaElementLine(area);
    text += kMapEnd;
    return text;
}

std::string ImgElementText(std::string_view fileName, int width, int height)
{
    std::string text = "<img src=\"" + AttributeValue(FilePartOf(fileName)) + "\" width=\"" + std::to_string(width) +
                       "\" height=\"" + std::to_string(height) + "\" usemap=\"#";
    text += kWholeMapName;
    text += "\" />";
    return text;
}

std::string FilePartOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) return std::string(path.substr(slash + 1));
    // A drive-relative name such as C:banner.gif; elsewhere a colon is part of the name.
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return std::string(path.substr(2));
    return std::string(path);
}

// Every area in collection order, which is the order the areas were made in.
std::string TImgEditor::BuildMapMarkup() const
{
    std::string text = MapStartLine(kWholeMapName);
    if (FImage) {
        const TLayerCollection& layers = Layers();
        for (int i = 0; i < layers.Count(); ++i) {
            const auto* area = dynamic_cast<const TImageMapLyer*>(layers.Items(i));
            if (area && IsAreaKind(area->Tag)) text += AreaElementLine(StoredAreaText(*area));
        }
    }
    text += kMapEnd;
    return text;
}

} // namespace tavrin
