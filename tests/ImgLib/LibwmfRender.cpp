#include "LibwmfRender.h"

#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstring>

namespace tavrin::test {
namespace {

struct TApi
{
    wmfAPI* Api = nullptr;
    ~TApi()
    {
        if (Api) wmf_api_destroy(Api);
    }
};

std::uint8_t OverWhite(unsigned channel, unsigned transparency) // gd: 0 opaque .. 127 transparent
{
    return static_cast<std::uint8_t>((channel * (127 - transparency) + 255 * transparency) / 127);
}

} // namespace

bool RenderWithLibwmf(const std::vector<std::uint8_t>& wmf, int width, int height,
                      std::vector<std::uint32_t>& pixels, std::string& error)
{
    if (wmf.size() < 22) {
        error = "no placeable header";
        return false;
    }
    std::int16_t frame[4];
    std::uint16_t inch = 0;
    std::memcpy(frame, wmf.data() + 6, sizeof frame);
    std::memcpy(&inch, wmf.data() + 14, sizeof inch);
    TApi api;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    if (wmf_api_create(&api.Api, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL, &options) != wmf_E_None) {
        error = "wmf_api_create";
        return false;
    }
    std::vector<unsigned char> copy(wmf.begin(), wmf.end());
    wmfD_Rect box{};
    if (wmf_mem_open(api.Api, copy.data(), static_cast<long>(copy.size())) != wmf_E_None ||
        wmf_scan(api.Api, 0, &box) != wmf_E_None) {
        error = "wmf_scan";
        return false;
    }
    // wmf_scan's box is the extent of what is drawn; the picture is the placeable frame, in points.
    box.TL.x = static_cast<float>(frame[0] * 72.0 / inch);
    box.TL.y = static_cast<float>(frame[1] * 72.0 / inch);
    box.BR.x = static_cast<float>(frame[2] * 72.0 / inch);
    box.BR.y = static_cast<float>(frame[3] * 72.0 / inch);
    wmf_gd_t* gd = WMF_GD_GetData(api.Api);
    gd->type = wmf_gd_image;
    gd->bbox = box;
    gd->width = static_cast<unsigned>(width);
    gd->height = static_cast<unsigned>(height);
    if (wmf_play(api.Api, 0, &box) != wmf_E_None || !gd->gd_image) {
        error = "wmf_play";
        return false;
    }
    const int* source = wmf_gd_image_pixels(gd->gd_image);
    pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto v = static_cast<std::uint32_t>(source[i]);
        const unsigned t = (v >> 24) & 0x7F;
        pixels[i] = 0xFF000000u | std::uint32_t{OverWhite((v >> 16) & 0xFF, t)} << 16 |
                    std::uint32_t{OverWhite((v >> 8) & 0xFF, t)} << 8 | OverWhite(v & 0xFF, t);
    }
    return true;
}

} // namespace tavrin::test
