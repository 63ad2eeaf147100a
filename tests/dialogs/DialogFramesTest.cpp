#include "dialogs/FmGIF.h"
#include "dialogs/FmImgMapAll.h"
#include "dialogs/FmImgSize.h"
#include "dialogs/FmImgTag.h"
#include "dialogs/FmSaveSlices.h"
#include "services/MessageSeamScripted.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace tavrin;

// The dialogs' frames offer a title and a close box only: the toolkit adds no minimize or maximize
// button of its own (the flags are customised), and none is asked for.
TEST(DialogFrames, CloseBoxOnlyNoMinimizeOrMaximize)
{
    TScriptedMessageSeam messages;
    const struct
    {
        const char* Name;
        std::function<std::unique_ptr<QDialog>()> Make;
    } dialogs[] = {
        {"tag", [] { return std::make_unique<TFmImgTag>(); }},
        {"all tags", [] { return std::make_unique<TFmImgMapAll>(); }},
        {"new image", [] { return std::make_unique<TFmImgSize>(); }},
        {"transparent GIF", [&] { return std::make_unique<TFmGIF>(messages); }},
        {"pieces", [&] { return std::make_unique<TFmSaveSlices>(2, 3, messages); }},
    };
    for (const auto& d : dialogs) {
        const Qt::WindowFlags flags = d.Make()->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << d.Name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << d.Name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << d.Name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << d.Name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowFullscreenButtonHint)) << d.Name;
    }
}
