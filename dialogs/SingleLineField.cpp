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

} // namespace

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
    input = LineBreaksToSpaces(input, &pos);
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
