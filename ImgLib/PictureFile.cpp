#include "ImgLib/PictureFile.h"

#include "ImgLib/PictureSignature.h"
#include "core/Bitmap32.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <sys/stat.h>

namespace tavrin {
namespace {

struct TFileCloser
{
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFileHandle = std::unique_ptr<std::FILE, TFileCloser>;

std::string LastErrorText()
{
    return std::strerror(errno);
}

// Opens a regular file of at most kMaxPictureFileBytes and gives its size.
TReadResult OpenPictureFile(const std::string& path, TFileHandle& file, std::int64_t& size)
{
    file.reset(std::fopen(path.c_str(), "rb"));
    if (!file) return TReadResult::Failure(OpenFileError(LastErrorText()));
    struct stat info
    {
    };
    if (fstat(fileno(file.get()), &info) != 0) return TReadResult::Failure(OpenFileError(LastErrorText()));
    if (!S_ISREG(info.st_mode)) return TReadResult::Failure(OpenFileError("일반 파일이 아닙니다"));
    if (info.st_size > kMaxPictureFileBytes) return TReadResult::Failure(FileTooLargeError(info.st_size));
    size = info.st_size;
    return TReadResult::Success();
}

TReadResult ReadRest(std::FILE* file, std::int64_t size, std::vector<std::uint8_t>& bytes)
{
    bytes.resize(static_cast<std::size_t>(size));
    const std::size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    if (std::ferror(file)) return TReadResult::Failure(OpenFileError(LastErrorText()));
    bytes.resize(read); // the file may have shrunk meanwhile; the reader then sees what is there
    return TReadResult::Success();
}

// The head of the file, read and put back, so that a file that is not what its name says costs no more
// than these bytes.
TReadResult CheckSignature(std::FILE* file, const TPictureFormat& format)
{
    std::uint8_t head[kSignatureBytes];
    const std::size_t n = std::fread(head, 1, sizeof head, file);
    if (std::ferror(file)) return TReadResult::Failure(OpenFileError(LastErrorText()));
    if (std::fseek(file, 0, SEEK_SET) != 0) return TReadResult::Failure(OpenFileError(LastErrorText()));
    if (HasSignatureOf(format.Extension, {head, n})) return TReadResult::Success();
    if (n == 0) return TReadResult::Failure(TruncatedFileError());
    std::string name = format.Extension;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    return TReadResult::Failure(WrongFormatError(name));
}

TReadResult ReadOpenFile(std::FILE* file, std::int64_t size, const TPictureFormat& format, TBitmap32& out)
{
    if (TReadResult r = CheckSignature(file, format); !r) return r;
    if (format.ReadStream) return format.ReadStream(file, size, out);
    std::vector<std::uint8_t> bytes;
    if (TReadResult r = ReadRest(file, size, bytes); !r) return r;
    return format.Read(bytes, out);
}

} // namespace

TReadResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    TFileHandle file;
    std::int64_t size = 0;
    if (TReadResult r = OpenPictureFile(path, file, size); !r) return r;
    return ReadRest(file.get(), size, bytes);
}

TReadResult ReadPictureFile(const std::string& path, const TPictureFormat& format, TBitmap32& out)
{
    TReadResult result;
    try {
        TFileHandle file;
        std::int64_t size = 0;
        result = OpenPictureFile(path, file, size);
        if (result) result = ReadOpenFile(file.get(), size, format, out);
    } catch (const std::bad_alloc&) {
        result = TReadResult::Failure(OutOfMemoryError());
    } catch (const std::exception& e) {
        result = TReadResult::Failure(DamagedFileError(e.what()));
    }
    if (!result) result.Error = PictureFileError(path, result.Error);
    return result;
}

} // namespace tavrin
