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

// The dialogs' frames offer a title and a close box, and a maximise box only where the dialog is
// resizable (all tags, transparent GIF): the toolkit adds no minimize button of its own (the flags are
// customised), and none is asked for.
TEST(DialogFrames, CloseBoxNoMinimizeMaximizeOnlyWhereResizable)
{
    TScriptedMessageSeam messages;
    const struct
    {
        const char* Name;
        std::function<std::unique_ptr<QDialog>()> Make;
        bool Maximize;
    } dialogs[] = {
        {"tag", [] { return std::make_unique<TFmImgTag>(); }, false},
        {"all tags", [] { return std::make_unique<TFmImgMapAll>(); }, true},
        {"new image", [] { return std::make_unique<TFmImgSize>(); }, false},
        {"transparent GIF", [&] { return std::make_unique<TFmGIF>(messages); }, true},
        {"pieces", [&] { return std::make_unique<TFmSaveSlices>(2, 3, messages); }, false},
    };
    for (const auto& d : dialogs) {
        const Qt::WindowFlags flags = d.Make()->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << d.Name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << d.Name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << d.Name;
        EXPECT_EQ(flags.testFlag(Qt::WindowMaximizeButtonHint), d.Maximize) << d.Name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowFullscreenButtonHint)) << d.Name;
    }
}
