#pragma once
// The outcome of encoding a picture. Like reading, writing reports failure as a value with a Korean
// reason for the user; no exception, exit or longjmp leaves a writer.

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

struct TWriteResult
{
    bool Ok = false;
    std::string Error; // empty on success

    static TWriteResult Success() { return {true, {}}; }
    static TWriteResult Failure(std::string error) { return {false, std::move(error)}; }
    explicit operator bool() const { return Ok; }
};

// Reasons, for the writers to share. `detail` is the encoder's own text and may be empty.
std::string EncoderError(std::string_view format, std::string_view detail = {});
std::string EmptyPictureError();
// The format cannot hold a picture this large (its size fields are too narrow).
std::string TooLargeForFormatError(std::string_view format, std::int64_t width, std::int64_t height,
                                   std::int64_t maxSide);
std::string NotEnoughMemoryToWriteError();

} // namespace tavrin
