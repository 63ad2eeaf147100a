#include "ImageTestSupport.h"

#include "ImgLib/QtImageBridge.h"

#include <QProcess>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tavrin::test {

std::string MetafilePath(const std::string& name)
{
    return std::string(TAVRIN_TEST_DATA) + "/metafiles/" + name;
}

std::vector<std::string> FilesIn(const std::string& folder, const std::vector<std::string>& extensions)
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (entry.is_regular_file() &&
            std::find(extensions.begin(), extensions.end(), ext) != extensions.end())
            files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TReadResult ReadFile(TPictureReader reader, const std::string& path, TBitmap32& out)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return reader(bytes, out);
}

namespace {

// Skips whitespace and comments, then reads a decimal number of a PPM header.
bool ReadHeaderNumber(const QByteArray& data, qsizetype& at, int& value)
{
    while (at < data.size() && (std::isspace(static_cast<unsigned char>(data[at])) || data[at] == '#')) {
        if (data[at] == '#')
            while (at < data.size() && data[at] != '\n')
                ++at;
        else
            ++at;
    }
    const qsizetype start = at;
    while (at < data.size() && std::isdigit(static_cast<unsigned char>(data[at])))
        ++at;
    if (at == start) return false;
    value = data.mid(start, at - start).toInt();
    return true;
}

std::optional<TBitmap32> ParsePnm(const QByteArray& data)
{
    qsizetype at = 2;
    int width = 0, height = 0, maxValue = 1;
    const bool bits = data.startsWith("P4"), grey = data.startsWith("P5"), colour = data.startsWith("P6");
    if (!(bits || grey || colour) || !ReadHeaderNumber(data, at, width) ||
        !ReadHeaderNumber(data, at, height) || (!bits && !ReadHeaderNumber(data, at, maxValue)))
        return std::nullopt;
    ++at; // the single whitespace after the header
    const int bytesPerSample = maxValue > 255 ? 2 : 1;
    const qsizetype rowBytes = bits ? (width + 7) / 8 : qsizetype(width) * (grey ? 1 : 3) * bytesPerSample;
    if (data.size() - at < rowBytes * height) return std::nullopt;
    TBitmap32 bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const auto* p = reinterpret_cast<const unsigned char*>(data.constData() + at + rowBytes * y);
        auto sample = [&]() -> std::uint8_t {
            unsigned v = *p++;
            if (bytesPerSample == 2) v = v << 8 | *p++;
            return static_cast<std::uint8_t>((v * 255 + maxValue / 2) / maxValue);
        };
        for (int x = 0; x < width; ++x) {
            if (bits) {
                const bool black = p[x / 8] & (0x80 >> (x % 8));
                bitmap.SetPixel(x, y, black ? clBlack32 : clWhite32);
                continue;
            }
            const std::uint8_t r = sample(), g = grey ? r : sample(), b = grey ? r : sample();
            bitmap.SetPixel(x, y, MakeColor32(255, r, g, b));
        }
    }
    return bitmap;
}

} // namespace

std::optional<TBitmap32> DecodeWithTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return std::nullopt;
    return ParsePnm(process.readAllStandardOutput());
}

std::optional<TBitmap32> DecodeWithMagick(const std::string& path, bool onLogicalScreen)
{
    QStringList arguments = {QString::fromStdString(path), "-background", "white"};
    arguments << (onLogicalScreen ? QStringList{"-flatten"}
                                  : QStringList{"-alpha", "remove", "-alpha", "off"});
    return DecodeWithTool("convert", arguments << "-depth"
                                               << "8"
                                               << "ppm:-");
}

TBitmap32 LoadReference(const std::string& path)
{
    return BitmapOverWhite(QImage(QString::fromStdString(path)));
}

QImage ToImage(const TBitmap32& bitmap)
{
    QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
    for (int y = 0; y < bitmap.Height(); ++y)
        std::copy(bitmap.ScanLine(y), bitmap.ScanLine(y) + bitmap.Width(),
                  reinterpret_cast<TColor32*>(image.scanLine(y)));
    return image;
}

TPixelDiff ComparePixels(const TBitmap32& a, const TBitmap32& b, int threshold)
{
    TPixelDiff diff;
    diff.SameSize = a.Width() == b.Width() && a.Height() == b.Height();
    if (!diff.SameSize || a.Empty()) return diff;
    long over = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            const TColor32 p = a.ScanLine(y)[x], q = b.ScanLine(y)[x];
            const int d = std::max({std::abs(RedOf(p) - RedOf(q)), std::abs(GreenOf(p) - GreenOf(q)),
                                    std::abs(BlueOf(p) - BlueOf(q))});
            diff.MaxChannel = std::max(diff.MaxChannel, d);
            over += d > threshold;
        }
    diff.FractionOver = double(over) / (double(a.Width()) * a.Height());
    return diff;
}

double FractionWithoutNearMatch(const TBitmap32& a, const TBitmap32& b, int radius, int threshold)
{
    auto near = [threshold](TColor32 p, TColor32 q) {
        return std::abs(RedOf(p) - RedOf(q)) <= threshold && std::abs(GreenOf(p) - GreenOf(q)) <= threshold &&
               std::abs(BlueOf(p) - BlueOf(q)) <= threshold;
    };
    long missing = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx)
                    found = x + dx >= 0 && y + dy >= 0 && x + dx < b.Width() && y + dy < b.Height() &&
                            near(a.Pixel(x, y), b.Pixel(x + dx, y + dy));
            missing += !found;
        }
    return a.Empty() ? 0 : double(missing) / (double(a.Width()) * a.Height());
}

bool AllOpaque(const TBitmap32& bitmap)
{
    const TColor32* p = bitmap.Bits();
    return std::all_of(p, p + std::size_t(bitmap.Width()) * bitmap.Height(),
                       [](TColor32 c) { return AlphaOf(c) == 255; });
}

TInkBox InkBox(const TBitmap32& bitmap, int threshold, int left, int top, int right, int bottom)
{
    right = right < 0 ? bitmap.Width() : right;
    bottom = bottom < 0 ? bitmap.Height() : bottom;
    TInkBox box{right, bottom, left, top, 0};
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const TColor32 p = bitmap.Pixel(x, y);
            if (255 - std::min({RedOf(p), GreenOf(p), BlueOf(p)}) <= threshold) continue;
            box.Left = std::min(box.Left, x);
            box.Top = std::min(box.Top, y);
            box.Right = std::max(box.Right, x + 1);
            box.Bottom = std::max(box.Bottom, y + 1);
            ++box.Pixels;
        }
    if (box.Pixels == 0) box = {};
    return box;
}

} // namespace tavrin::test
