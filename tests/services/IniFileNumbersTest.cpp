#include "services/IniFileNumbers.h"

#include <gtest/gtest.h>

#include <string>

using namespace tavrin;

TEST(IniFileNumbers, WholeNumbers)
{
    struct Case
    {
        std::string Text;
        std::optional<std::int32_t> Expected;
    };
    const Case cases[] = {
        {"0", 0},
        {"1", 1},
        {" 42 ", 42},
        {"-7", -7},
        {"+7", 7},
        {"0x10", 16},
        {"0X1f", 31},
        {"$FF", 255},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$FFFFFFFF", -1},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"abc", std::nullopt},
        {"0x", std::nullopt},
        {"$", std::nullopt},
        {"-", std::nullopt},
        {"12abc", std::nullopt},
        {"1 2", std::nullopt},
        {"1.5", std::nullopt},
        {"0xG", std::nullopt},
        {std::string("1\0", 2), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseWholeNumber(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(IniFileNumbers, Switches)
{
    struct Case
    {
        const char* Text;
        std::optional<bool> Expected;
    };
    const Case cases[] = {
        {"TRUE", true},       {"true", true},
        {"Yes", true},        {"y", true},
        {"FALSE", false},     {"fAlSe", false},
        {"NO", false},        {"n", false},
        {"0", false},         {"1", true},
        {"-1", true},         {"0x10", true},
        {"$0", false},        {"maybe", std::nullopt},
        {"", std::nullopt},   {"TRUEX", std::nullopt},
        {"ye", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseSwitchText(c.Text), c.Expected) << '"' << c.Text << '"';
}
