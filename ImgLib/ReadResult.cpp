#include "ImgLib/ReadResult.h"

#include "ImgLib/PixelBudget.h"

namespace tavrin {
namespace {

std::string WithDetail(std::string text, std::string_view detail)
{
    if (!detail.empty()) {
        text += " (";
        text += detail;
        text += ')';
    }
    return text;
}

} // namespace

std::string DamagedFileError(std::string_view detail)
{
    return WithDetail("파일이 손상되었거나 형식이 올바르지 않습니다.", detail);
}

std::string TruncatedFileError(std::string_view detail)
{
    return WithDetail("파일이 중간에 끊겨 있습니다.", detail);
}

std::string PictureTooLargeError(std::int64_t width, std::int64_t height)
{
    return "그림이 너무 큽니다: " + std::to_string(width) + " × " + std::to_string(height) +
           " 픽셀. 읽을 수 있는 그림은 " + std::to_string(kPixelBudget) + " 픽셀까지입니다.";
}

std::string BadPictureSizeError(std::int64_t width, std::int64_t height)
{
    return "그림 크기가 올바르지 않습니다: " + std::to_string(width) + " × " + std::to_string(height) +
           " 픽셀.";
}

std::string NoPictureError()
{
    return "파일에 그림이 들어 있지 않습니다.";
}

std::string UnsupportedFormatError(std::string_view detail)
{
    return WithDetail("이 종류의 그림은 읽을 수 없습니다.", detail);
}

std::string OutOfMemoryError()
{
    return "그림을 읽을 메모리가 부족합니다.";
}

std::string OpenFileError(std::string_view detail)
{
    return WithDetail("파일을 열 수 없습니다.", detail);
}

std::string FileTooLargeError(std::int64_t bytes)
{
    return "파일이 너무 큽니다: " + std::to_string(bytes) + " 바이트.";
}

std::string WrongFormatError(std::string_view format)
{
    std::string text = "파일 내용이 ";
    text += format;
    text += " 형식이 아닙니다.";
    return text;
}

std::string PictureFileError(std::string_view fileName, std::string_view reason)
{
    std::string text = "이미지 파일을 읽을 수 없습니다: ";
    text += fileName;
    text += '\n';
    text += reason;
    return text;
}

} // namespace tavrin
