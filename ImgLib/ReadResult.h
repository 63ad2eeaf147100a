#pragma once
// The outcome of reading a picture. Errors cross the library boundary as values, never as exceptions; the
// text is Korean, for the user, and says what went wrong. The reader that produced it leaves its output
// bitmap untouched on failure, so a caller never sees a half-made picture.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

struct TReadResult
{
    bool Ok = false;
    std::string Error; // empty on success

    static TReadResult Success() { return {true, {}}; }
    static TReadResult Failure(std::string error) { return {false, std::move(error)}; }
    explicit operator bool() const { return Ok; }
};

// Reasons, for the readers to share. `detail` is the decoder's own text and may be empty.
std::string DamagedFileError(std::string_view detail = {});
std::string TruncatedFileError(std::string_view detail = {});
std::string PictureTooLargeError(std::int64_t width, std::int64_t height);
std::string BadPictureSizeError(std::int64_t width, std::int64_t height);
std::string NoPictureError();
std::string UnsupportedFormatError(std::string_view detail);
std::string OutOfMemoryError();
std::string OpenFileError(std::string_view detail);
std::string FileTooLargeError(std::int64_t bytes);
// The file's contents are not of the format its name says (`format` as the user knows it, e.g. "BMP").
std::string WrongFormatError(std::string_view format);

// The message shown to the user: the file and the reason.
std::string PictureFileError(std::string_view fileName, std::string_view reason);

} // namespace tavrin
