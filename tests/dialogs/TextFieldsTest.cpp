#include "dialogs/Memo.h"
#include "dialogs/SingleLineField.h"

#include <QClipboard>
#include <QGuiApplication>

#include <string>
#include <gtest/gtest.h>

using namespace tavrin;

TEST(LineBreaksToSpaces, EachBreakIsOneSpaceAndTheCursorStaysPut)
{
    struct Case
    {
        const char16_t* text;
        int pos;
        const char16_t* result;
        int newPos;
    };
    const Case cases[] = {
        {u"plain", 3, u"plain", 3},
        {u"a\r\nb", 4, u"a b", 3},      // CR LF is one break
        {u"a\r\nb", 2, u"a b", 2},      // between CR and LF
        {u"a\n\nb\rc", 6, u"a  b c", 6}, // two breaks stay two spaces
        {u"\u2028x\u2029y\u0085", 5, u" x y ", 5},
        {u"\r\n\r\n", 4, u"  ", 2},
        {u"", 0, u"", 0},
    };
    for (const Case& c : cases) {
        int pos = c.pos;
        EXPECT_EQ(LineBreaksToSpaces(QString::fromUtf16(c.text), &pos), QString::fromUtf16(c.result));
        EXPECT_EQ(pos, c.newPos) << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(DropControlCharacters, AllButTheTabGoAndTheCursorStaysPut)
{
    struct Case
    {
        std::u16string text;
        int pos;
        std::u16string result;
        int newPos;
    };
    const Case cases[] = {
        {u"plain\tkept", 3, u"plain\tkept", 3},
        {std::u16string(u"a\0b", 3), 3, u"ab", 2},
        {u"\x1B[31mred\x7F", 9, u"[31mred", 7},
        {u"\x01\x02\x1F", 1, u"", 0},
        {u"x\x1Fy", 1, u"xy", 1},   // the cursor before the dropped character stays put
        {u"\u0080\u00A0\uFFFD", 1, u"\u0080\u00A0\uFFFD", 1}, // only the C0 controls and DEL
    };
    for (const Case& c : cases) {
        int pos = c.pos;
        const QString text = QString::fromUtf16(c.text.data(), static_cast<qsizetype>(c.text.size()));
        EXPECT_EQ(DropControlCharacters(text, &pos), QString::fromStdU16String(c.result));
        EXPECT_EQ(pos, c.newPos) << text.toStdString();
    }
}

TEST(Memo, ALongPastedWordSwitchesToBreakingAnywhere)
{
    TMemo memo;
    memo.SetText(QStringLiteral("short words\r\nonly"));
    EXPECT_EQ(memo.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(memo.Text(), "short words\r\nonly");
    // Breaking at word boundaries would take seconds to lay this out.
    const QString word(kLongestWrappedWord * 50, u'w');
    QGuiApplication::clipboard()->setText(word);
    memo.moveCursor(QTextCursor::End);
    memo.paste();
    EXPECT_EQ(memo.wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(memo.Lines(), QStringList({"short words", "only" + word}));
    memo.SetText(QStringLiteral("short again\r\n"));
    EXPECT_EQ(memo.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    EXPECT_EQ(memo.Lines(), QStringList({"short again"})); // a final line break adds no line
    memo.SetText({});
    EXPECT_TRUE(memo.Lines().isEmpty());
}
