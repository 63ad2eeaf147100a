#include "ImgLib/PictureFormats.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace tavrin;

namespace {

TReadResult NoRead(std::span<const std::uint8_t>, TBitmap32&)
{
    return TReadResult::Failure("unused");
}

} // namespace

// The dialog may offer only what the loader opens: the seven endings it accepts, and no others.
TEST(PictureFormats, RegistersExactlyTheLoadableEndings)
{
    std::vector<std::string> extensions;
    for (const TPictureFormat& format : PictureFormats().Formats()) {
        extensions.push_back(format.Extension);
        EXPECT_NE(format.Read, nullptr);
        EXPECT_FALSE(format.Description.empty());
    }
    std::sort(extensions.begin(), extensions.end());
    EXPECT_EQ(extensions, (std::vector<std::string>{"bmp", "emf", "gif", "ico", "jpg", "png", "wmf"}));
}

TEST(PictureFormats, FindsByExtensionIgnoringCase)
{
    EXPECT_EQ(PictureFormats().FindByExtension("JPG")->Extension, "jpg");
    EXPECT_EQ(PictureFormats().FindByExtension("Png")->Extension, "png");
    EXPECT_EQ(PictureFormats().FindByExtension("jpeg"), nullptr);
    EXPECT_EQ(PictureFormats().FindByExtension("PEG"), nullptr);
    EXPECT_EQ(PictureFormats().FindByExtension(""), nullptr);
}

// One entry per format with an extension, the latest registration first, after an "All" entry that joins
// them; a single format has no "All" entry.
TEST(PictureFormats, FilterListsNewestFirstAfterAllEntry)
{
    TPictureFormatRegistry registry;
    registry.Register({"비트맵", "bmp", &NoRead});
    EXPECT_EQ(registry.FilterEntries().size(), 1u);
    registry.Register({"나중에 지움", "", &NoRead});
    registry.Register({"PNG 이미지", "png", &NoRead});
    const std::vector<TPictureFilterEntry> entries = registry.FilterEntries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Text, "All (*.png;*.bmp)");
    EXPECT_EQ(entries[0].Pattern, "*.png;*.bmp");
    EXPECT_EQ(entries[1].Text, "PNG 이미지 (*.png)");
    EXPECT_EQ(entries[1].Pattern, "*.png");
    EXPECT_EQ(entries[2].Text, "비트맵 (*.bmp)");
    EXPECT_EQ(PictureFormats().FilterEntries().front().Pattern, "*.png;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.bmp");
}
