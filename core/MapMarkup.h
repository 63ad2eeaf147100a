#pragma once
// The HTML of an image map: the whole map of a document, the map of a single area as the area tag
// dialog shows it, and the img element that uses the map.
//
// Lines end with CR LF; there is none after the closing </map>. Every attribute value goes in as given
// except that a double quote becomes &quot;, so a quote the user typed cannot end the value early.
// Nothing else is escaped: an '&' or '<' stays as typed (links often carry entities already, and
// browsers accept both inside a quoted value). Empty values give empty attributes. Texts are UTF-8.

#include <string>
#include <string_view>

namespace tavrin {

class TImageMapLyer;

// The fixed map name of the whole-map text; the img element's usemap refers to it.
inline constexpr std::string_view kWholeMapName = "TavrinImgMap";

// The attribute values of one area element.
struct TAreaText
{
    std::string ShapeName;
    std::string Coords;
    std::string Href;
    std::string Target;
    std::string Alt;
};

// The value as it goes between the quotes of an attribute: each '"' written as &quot;.
std::string AttributeValue(std::string_view value);

// What an area has stored: its shape name, coords text, href, target and alt.
TAreaText StoredAreaText(const TImageMapLyer& area);

// <area shape="..." coords="..." href="..." target="..." alt="..."> followed by CR LF.
std::string AreaElementLine(const TAreaText& area);

// <map name="mapName"> CR LF, the area's line, </map>.
std::string SingleAreaMarkup(std::string_view mapName, const TAreaText& area);

// <img src="file part" width="w" height="h" usemap="#TavrinImgMap" />, no line break.
std::string ImgElementText(std::string_view fileName, int width, int height);

// The name and extension of a path: what follows the last '/' or '\', or a leading drive "C:".
// Empty for an empty path.
std::string FilePartOf(std::string_view path);

} // namespace tavrin
