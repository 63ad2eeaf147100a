#include "dialogs/SingleLineField.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <limits>

namespace tavrin {

namespace {

bool IsLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == u'\u0085' || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

bool IsDroppedControl(QChar c)
{
    return (c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F;
}

} // namespace

QString DropControlCharacters(const QString& text, int* pos)
{
    if (std::none_of(text.begin(), text.end(), IsDroppedControl))
        return text;
    QString result;
    result.reserve(text.size());
    int newPos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!IsDroppedControl(text[i]))
            result += text[i];
        else if (pos && i < *pos)
            --newPos;
    }
    if (pos)
        *pos = newPos;
    return result;
}

QString LineBreaksToSpaces(const QString& text, int* pos)
{
    if (std::none_of(text.begin(), text.end(), IsLineBreak))
        return text;
    QString result;
    result.reserve(text.size());
    int newPos = pos ? *pos : 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            // CR LF is one break: one space for two characters.
            if (pos && i + 1 < *pos)
                --newPos;
            result += u' ';
            ++i;
        } else {
            result += IsLineBreak(c) ? QChar(u' ') : c;
        }
    }
    if (pos)
        *pos = newPos;
    return result;
}

QValidator::State TSingleLineValidator::validate(QString& input, int& pos) const
{
    input = DropControlCharacters(LineBreaksToSpaces(input, &pos), &pos); // breaks first: CR and LF are controls
    return Acceptable;
}

void MakeSingleLineField(QLineEdit& edit)
{
    edit.setMaxLength(std::numeric_limits<int>::max());
    edit.setValidator(new TSingleLineValidator(&edit));
}

void MakeSingleLineField(QComboBox& combo)
{
    if (QLineEdit* edit = combo.lineEdit())
        MakeSingleLineField(*edit);
}

} // namespace tavrin
