#include "ImgLib/PictureFormats.h"

#include "ImgLib/BmpReader.h"
#include "ImgLib/EmfReader.h"
#include "ImgLib/GifReader.h"
#include "ImgLib/IcoReader.h"
#include "ImgLib/JpegReader.h"
#include "ImgLib/PngReader.h"
#include "ImgLib/WmfReader.h"

#include <algorithm>

namespace tavrin {
namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

} // namespace

void TPictureFormatRegistry::Register(TPictureFormat format)
{
    FFormats.push_back(std::move(format));
}

const TPictureFormat* TPictureFormatRegistry::FindByExtension(std::string_view extension) const
{
    for (const TPictureFormat& format : FFormats)
        if (!format.Extension.empty() && SameIgnoringCase(format.Extension, extension)) return &format;
    return nullptr;
}

std::vector<TPictureFilterEntry> TPictureFormatRegistry::FilterEntries() const
{
    std::vector<TPictureFilterEntry> entries;
    std::string all;
    for (auto it = FFormats.rbegin(); it != FFormats.rend(); ++it) {
        if (it->Extension.empty()) continue;
        const std::string pattern = "*." + it->Extension;
        entries.push_back({it->Description + " (" + pattern + ")", pattern});
        all += (all.empty() ? "" : ";") + pattern;
    }
    if (entries.size() > 1) entries.insert(entries.begin(), {"All (" + all + ")", all});
    return entries;
}

const TPictureFormatRegistry& PictureFormats()
{
    static const TPictureFormatRegistry registry = [] {
        TPictureFormatRegistry r;
        RegisterBmpFormat(r);
        RegisterIcoFormat(r);
        RegisterEmfFormat(r);
        RegisterWmfFormat(r);
        RegisterJpegFormat(r);
        RegisterGifFormat(r);
        RegisterPngFormat(r);
        return r;
    }();
    return registry;
}

} // namespace tavrin
