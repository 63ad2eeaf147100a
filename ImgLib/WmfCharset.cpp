#include "ImgLib/WmfCharset.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace tavrin {
namespace {

enum : std::uint8_t
{
    kAnsi = 0,
    kDefault = 1,
    kSymbol = 2,
    kMac = 77,
    kShiftJis = 128,
    kHangul = 129,
    kJohab = 130,
    kGb2312 = 134,
    kBig5 = 136,
    kGreek = 161,
    kTurkish = 162,
    kVietnamese = 163,
    kHebrew = 177,
    kArabic = 178,
    kBaltic = 186,
    kRussian = 204,
    kThai = 222,
    kEastEurope = 238,
    kOem = 255,
};

const char* CodePageOf(std::uint8_t charset)
{
    switch (charset) {
    case kMac:
        return "MACINTOSH";
    case kShiftJis:
        return "CP932";
    case kHangul:
        return "CP949";
    case kJohab:
        return "JOHAB";
    case kGb2312:
        return "GBK";
    case kBig5:
        return "BIG5";
    case kGreek:
        return "CP1253";
    case kTurkish:
        return "CP1254";
    case kVietnamese:
        return "CP1258";
    case kHebrew:
        return "CP1255";
    case kArabic:
        return "CP1256";
    case kBaltic:
        return "CP1257";
    case kRussian:
        return "CP1251";
    case kThai:
        return "CP874";
    case kEastEurope:
        return "CP1250";
    case kOem:
        return "CP437";
    case kSymbol:
        return nullptr; // symbol fonts: the byte is the glyph
    default:
        return "CP1252";
    }
}

int CharLength(std::uint8_t charset, std::uint8_t lead)
{
    switch (charset) {
    case kShiftJis:
        return (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC) ? 2 : 1;
    case kHangul:
    case kGb2312:
    case kBig5:
        return lead >= 0x81 && lead <= 0xFE ? 2 : 1;
    case kJohab:
        return (lead >= 0x84 && lead <= 0xD3) || (lead >= 0xD8 && lead <= 0xF9) ? 2 : 1;
    default:
        return 1;
    }
}

class TConverter
{
  public:
    explicit TConverter(const char* codePage)
        : FHandle(codePage ? iconv_open("UTF-16LE", codePage) : reinterpret_cast<iconv_t>(-1))
    {
    }
    ~TConverter()
    {
        if (Valid()) iconv_close(FHandle);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;

    bool Valid() const { return FHandle != reinterpret_cast<iconv_t>(-1); }

    // One character's bytes; U+FFFD when they do not decode.
    QString Convert(std::span<const std::uint8_t> bytes)
    {
        if (!Valid()) return Latin1(bytes);
        std::array<char16_t, 8> out{};
        char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
        std::size_t inLeft = bytes.size();
        char* outPtr = reinterpret_cast<char*>(out.data());
        std::size_t outLeft = sizeof out;
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        if (iconv(FHandle, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return QString(QChar::ReplacementCharacter);
        return QString::fromUtf16(out.data(), static_cast<qsizetype>((sizeof out - outLeft) / 2));
    }

  private:
    static QString Latin1(std::span<const std::uint8_t> bytes)
    {
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));
    }
    iconv_t FHandle;
};

} // namespace

std::vector<TDecodedChar> DecodeCharsetChars(std::span<const std::uint8_t> bytes, std::uint8_t charset)
{
    TConverter converter(CodePageOf(charset));
    std::vector<TDecodedChar> chars;
    for (std::size_t i = 0; i < bytes.size();) {
        const int length = std::min<int>(CharLength(charset, bytes[i]), static_cast<int>(bytes.size() - i));
        chars.push_back({converter.Convert(bytes.subspan(i, static_cast<std::size_t>(length))), length});
        i += static_cast<std::size_t>(length);
    }
    return chars;
}

QString DecodeCharset(std::span<const std::uint8_t> bytes, std::uint8_t charset)
{
    QString text;
    for (const TDecodedChar& c : DecodeCharsetChars(bytes, charset))
        text += c.Text;
    return text;
}

} // namespace tavrin
