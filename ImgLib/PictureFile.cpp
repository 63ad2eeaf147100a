#include "ImgLib/PictureFile.h"

#include "core/Bitmap32.h"

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

std::string LastErrorText()
{
    return std::strerror(errno);
}

} // namespace

TReadResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return TReadResult::Failure(OpenFileError(LastErrorText()));
    struct stat info
    {
    };
    if (fstat(fileno(file.get()), &info) != 0) return TReadResult::Failure(OpenFileError(LastErrorText()));
    if (!S_ISREG(info.st_mode)) return TReadResult::Failure(OpenFileError("일반 파일이 아닙니다"));
    if (info.st_size > kMaxPictureFileBytes) return TReadResult::Failure(FileTooLargeError(info.st_size));
    bytes.resize(static_cast<std::size_t>(info.st_size));
    const std::size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (std::ferror(file.get())) return TReadResult::Failure(OpenFileError(LastErrorText()));
    bytes.resize(read); // the file may have shrunk meanwhile; the reader then sees what is there
    return TReadResult::Success();
}

TReadResult ReadPictureFile(const std::string& path, const TPictureFormat& format, TBitmap32& out)
{
    TReadResult result;
    try {
        std::vector<std::uint8_t> bytes;
        result = ReadFileBytes(path, bytes);
        if (result) result = format.Read(bytes, out);
    } catch (const std::bad_alloc&) {
        result = TReadResult::Failure(OutOfMemoryError());
    } catch (const std::exception& e) {
        result = TReadResult::Failure(DamagedFileError(e.what()));
    }
    if (!result) result.Error = PictureFileError(path, result.Error);
    return result;
}

} // namespace tavrin
