#pragma once
// Shared helpers of the reader tests: where the Debian packages put their test pictures, independent
// decoders run as programs, and pixel comparisons.

#include "ImgLib/PictureFormats.h"
#include "core/Bitmap32.h"

#include <QImage>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace tavrin::test {

// gdk-pixbuf-tests, imagemagick-6-doc and libpng-dev.
inline const std::string kPixbufDir = "/usr/libexec/installed-tests/gdk-pixbuf";
inline const std::string kPixbufImages = kPixbufDir + "/test-images";
inline const std::string kMagickImages = "/usr/share/doc/imagemagick-6-common/html/images";
inline const std::string kPngTest = "/usr/share/doc/libpng-dev/examples/pngtest.png";

std::string MetafilePath(const std::string& name);
std::vector<std::string> FilesIn(const std::string& folder, const std::vector<std::string>& extensions);

std::vector<std::uint8_t> ReadBytes(const std::string& path);
TReadResult ReadFile(TPictureReader reader, const std::string& path, TBitmap32& out);

// Runs `program` and reads the binary PPM, PGM (8 or 16 bits) or PBM it writes to standard output.
std::optional<TBitmap32> DecodeWithTool(const QString& program, const QStringList& arguments);
// ImageMagick's reading of `path` (a frame index may follow in brackets), drawn over white; a GIF frame on
// its file's logical screen when `onLogicalScreen`.
std::optional<TBitmap32> DecodeWithMagick(const std::string& path, bool onLogicalScreen = false);

// A PNG (or any picture Qt reads) drawn over white, as the readers' results are.
TBitmap32 LoadReference(const std::string& path);
QImage ToImage(const TBitmap32& bitmap);

struct TPixelDiff
{
    bool SameSize = false;
    int MaxChannel = 0;      // the largest difference of any channel of any pixel
    double FractionOver = 0; // of the pixels, those differing by more than the threshold in some channel
};
TPixelDiff ComparePixels(const TBitmap32& a, const TBitmap32& b, int threshold);

// The fraction of pixels of `a` with no pixel of `b` within `radius` pixels that differs by at most
// `threshold` in every channel: a comparison that forgives shapes shifted or blurred by that much.
double FractionWithoutNearMatch(const TBitmap32& a, const TBitmap32& b, int radius, int threshold);

bool AllOpaque(const TBitmap32& bitmap);

// The bounding box of the pixels that differ from white by more than `threshold`.
struct TInkBox
{
    int Left = 0, Top = 0, Right = 0, Bottom = 0; // Right and Bottom exclusive; all 0 when there is no ink
    long Pixels = 0;
};
TInkBox InkBox(const TBitmap32& bitmap, int threshold, int left = 0, int top = 0, int right = -1,
               int bottom = -1);

} // namespace tavrin::test
