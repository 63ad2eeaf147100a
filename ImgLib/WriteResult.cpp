#include "ImgLib/WriteResult.h"

namespace tavrin {

std::string EncoderError(std::string_view format, std::string_view detail)
{
    std::string text = std::string(format) + " 형식으로 바꾸는 중에 오류가 생겼습니다.";
    if (!detail.empty()) {
        text += " (";
        text += detail;
        text += ')';
    }
    return text;
}

std::string EmptyPictureError()
{
    return "저장할 그림이 비어 있습니다.";
}

std::string TooLargeForFormatError(std::string_view format, std::int64_t width, std::int64_t height,
                                   std::int64_t maxSide)
{
    return std::string(format) + " 파일에 담기에는 그림이 너무 큽니다: " + std::to_string(width) + " × " +
           std::to_string(height) + " 픽셀. 이 형식은 가로세로 " + std::to_string(maxSide) +
           " 픽셀까지 저장할 수 있습니다.";
}

std::string NotEnoughMemoryToWriteError()
{
    return "그림을 저장할 메모리가 부족합니다.";
}

} // namespace tavrin
