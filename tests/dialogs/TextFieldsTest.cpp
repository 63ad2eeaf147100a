#include "dialogs/Memo.h"
#include "dialogs/SingleLineField.h"

#include <QClipboard>
#include <QGuiApplication>
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
