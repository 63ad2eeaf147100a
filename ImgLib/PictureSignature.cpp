#include "ImgLib/PictureSignature.h"

#include "ImgLib/ByteAccess.h"

namespace tavrin {
namespace {

using bytes::Read;

bool StartsWith(std::span<const std::uint8_t> head, std::initializer_list<std::uint8_t> signature)
{
    return head.size() >= signature.size() && std::equal(signature.begin(), signature.end(), head.begin());
}

} // namespace

bool HasBmpSignature(std::span<const std::uint8_t> head)
{
    return StartsWith(head, {'B', 'M'});
}

bool HasIcoSignature(std::span<const std::uint8_t> head)
{
    // Reserved 0, type 1 (icon) or 2 (cursor), and at least one image.
    return head.size() >= 6 && Read<std::uint16_t>(head, 0) == 0 &&
           (Read<std::uint16_t>(head, 2) == 1 || Read<std::uint16_t>(head, 2) == 2) &&
           Read<std::uint16_t>(head, 4) > 0;
}

bool HasGifSignature(std::span<const std::uint8_t> head)
{
    return StartsWith(head, {'G', 'I', 'F', '8'});
}

bool HasJpegSignature(std::span<const std::uint8_t> head)
{
    return StartsWith(head, {0xFF, 0xD8});
}

bool HasPngSignature(std::span<const std::uint8_t> head)
{
    return StartsWith(head, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
}

bool HasWmfSignature(std::span<const std::uint8_t> head)
{
    constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
    if (head.size() >= 4 && Read<std::uint32_t>(head, 0) == kPlaceableKey) return true;
    // A plain header: type 1 (memory) or 2 (disk), header size 9 words.
    return head.size() >= 4 && (Read<std::uint16_t>(head, 0) == 1 || Read<std::uint16_t>(head, 0) == 2) &&
           Read<std::uint16_t>(head, 2) == 9;
}

bool HasEmfSignature(std::span<const std::uint8_t> head)
{
    constexpr std::uint32_t kEmrHeader = 1;
    constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
    return head.size() >= 44 && Read<std::uint32_t>(head, 0) == kEmrHeader &&
           Read<std::uint32_t>(head, 40) == kEmfSignature;
}

bool HasSignatureOf(std::string_view extension, std::span<const std::uint8_t> head)
{
    struct TCheck
    {
        std::string_view Extension;
        bool (*Matches)(std::span<const std::uint8_t>);
    };
    static constexpr TCheck kChecks[] = {
        {"bmp", HasBmpSignature}, {"ico", HasIcoSignature}, {"gif", HasGifSignature},
        {"jpg", HasJpegSignature}, {"png", HasPngSignature}, {"wmf", HasWmfSignature},
        {"emf", HasEmfSignature},
    };
    for (const TCheck& check : kChecks)
        if (check.Extension == extension) return check.Matches(head);
    return true;
}

} // namespace tavrin
