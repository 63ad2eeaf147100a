// One reader fed whatever libFuzzer makes up. The reader may fail; it may not crash, leak or hang.
#include TAVRIN_FUZZ_HEADER

#include "core/Bitmap32.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts and painting need one
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    tavrin::TBitmap32 out;
    const tavrin::TReadResult result = tavrin::TAVRIN_FUZZ_READER({data, size}, out);
    if (!result.Ok && result.Error.empty())
        std::abort(); // a failure must say why
    return 0;
}
