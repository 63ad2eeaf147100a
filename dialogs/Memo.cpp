#include "dialogs/Memo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextBlock>

#include <algorithm>

namespace tavrin {

namespace {

bool BreaksRun(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator ||
           c == QChar::LineSeparator;
}

QString WithLineFeeds(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines;
}

} // namespace

qsizetype LongestUnbrokenRun(QStringView text)
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (const QChar c : text) {
        run = BreaksRun(c) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true); // Tab walks the dialog; a tab character is never wanted in markup
    // Typing can lengthen a word only one character at a time, so checking after each change is
    // early enough; pastes and drops are checked before they land (insertFromMimeData).
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (wordWrapMode() != QTextOption::WrapAnywhere)
            FitWrapTo(toPlainText());
    });
}

void TMemo::FitWrapTo(QStringView text)
{
    const QTextOption::WrapMode mode = LongestUnbrokenRun(text) > kLongestWrappedWord
                                           ? QTextOption::WrapAnywhere
                                           : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

void TMemo::SetText(const QString& text)
{
    const QString lines = WithLineFeeds(text);
    FitWrapTo(lines);
    setPlainText(lines);
}

void TMemo::insertFromMimeData(const QMimeData* source)
{
    // Once a long word has come in, the memo keeps breaking anywhere (an undo may bring it back).
    if (source && source->hasText() && wordWrapMode() != QTextOption::WrapAnywhere &&
        LongestUnbrokenRun(source->text()) > kLongestWrappedWord)
        setWordWrapMode(QTextOption::WrapAnywhere);
    QPlainTextEdit::insertFromMimeData(source);
}

// Block texts rather than toPlainText(), which turns no-break spaces into plain ones.
static QStringList BlockTexts(const QTextDocument& document)
{
    QStringList lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines.append(block.text());
    return lines;
}

QString TMemo::Text() const { return BlockTexts(*document()).join(QStringLiteral("\r\n")); }

QStringList TMemo::Lines() const
{
    QStringList lines = BlockTexts(*document());
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString JoinWithLineBreaks(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    return text;
}

} // namespace tavrin
