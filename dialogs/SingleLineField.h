#pragma once
// Single-line text fields that take whatever is pasted or dropped into them.
//
// A line edit keeps a pasted line break as a character, which would then end up inside an HTML
// attribute. Here every line break (CR LF, CR, LF, NEL, the Unicode line and paragraph separators)
// becomes one space the moment it enters the field, so the field shows exactly what is stored and
// written, and no text is lost. The field also takes texts of any length: Qt's default limit of
// 32767 characters would cut a long link without a word. Control characters other than the tab
// (U+0000-U+001F, U+007F) have no place in a link or an attribute (a browser turns NUL into U+FFFD, the
// others are parse errors): they are dropped as they arrive, typed, pasted or set.

#include <QValidator>

class QComboBox;
class QLineEdit;

namespace tavrin {

// The text with each line break replaced by one space; `pos`, a position in the text, is moved
// along so that it stays before the same character.
QString LineBreaksToSpaces(const QString& text, int* pos = nullptr);

// The text without its control characters other than the tab; `pos` is moved along as above.
QString DropControlCharacters(const QString& text, int* pos = nullptr);

class TSingleLineValidator : public QValidator
{
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Makes the edit (or the combo box's edit) single-line and unlimited in length.
void MakeSingleLineField(QLineEdit& edit);
void MakeSingleLineField(QComboBox& combo);

} // namespace tavrin
