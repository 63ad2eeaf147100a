// libwmf2ppm FILE.wmf WIDTH HEIGHT: libwmf's rendering of a placeable WMF over white, as a binary PPM on
// standard output. A second opinion on WMF files for the tests. It runs as a program of its own because
// libwmf crashes on some valid files and its symbols clash with libuemf's, which the readers use; for the
// same reason it includes no Qt header (libwmf's headers define names that break Qt's).
#include <libwmf/api.h>
#include <libwmf/gd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct TApi
{
    wmfAPI* Api = nullptr;
    ~TApi()
    {
        if (Api) wmf_api_destroy(Api);
    }
};

unsigned char OverWhite(unsigned channel, unsigned transparency) // gd: 0 opaque .. 127 transparent
{
    return static_cast<unsigned char>((channel * (127 - transparency) + 255 * transparency) / 127);
}

int Fail(const char* what)
{
    std::fprintf(stderr, "libwmf2ppm: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) return Fail("usage: libwmf2ppm FILE.wmf WIDTH HEIGHT");
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> wmf{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]);
    if (wmf.size() < 22 || width <= 0 || height <= 0) return Fail("no placeable header");
    std::int16_t frame[4];
    std::uint16_t inch = 0;
    std::memcpy(frame, wmf.data() + 6, sizeof frame);
    std::memcpy(&inch, wmf.data() + 14, sizeof inch);

    TApi api;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    if (wmf_api_create(&api.Api, WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL, &options) != wmf_E_None)
        return Fail("wmf_api_create");
    wmfD_Rect box{};
    if (wmf_mem_open(api.Api, wmf.data(), static_cast<long>(wmf.size())) != wmf_E_None ||
        wmf_scan(api.Api, 0, &box) != wmf_E_None)
        return Fail("wmf_scan");
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
    if (wmf_play(api.Api, 0, &box) != wmf_E_None || !gd->gd_image) return Fail("wmf_play");

    const int* source = wmf_gd_image_pixels(gd->gd_image);
    std::printf("P6\n%d %d\n255\n", width, height);
    for (long i = 0; i < long(width) * height; ++i) {
        const auto v = static_cast<unsigned>(source[i]);
        const unsigned t = (v >> 24) & 0x7F;
        const unsigned char rgb[3] = {OverWhite((v >> 16) & 0xFF, t), OverWhite((v >> 8) & 0xFF, t),
                                      OverWhite(v & 0xFF, t)};
        std::fwrite(rgb, 1, 3, stdout);
    }
    return 0;
}
