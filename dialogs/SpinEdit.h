#pragma once
// TSpinEdit: a spin edit for whole numbers without limits. Its text is free (paste may put anything in
// it); typed characters are filtered to what a number can contain, and the value is read from the text
// when asked for, so a text that is not a whole number simply reads as 0. Up/Down and the arrow buttons
// step by 1.

#include <QAbstractSpinBox>

#include <cstdint>

namespace tavrin {

// Reads an optionally signed run of ASCII digits (surrounding blanks allowed). Anything else, an
// empty text or a lone sign, reads as 0. Values beyond 32 bits saturate at the nearest limit, so a
// huge size stays huge (and is refused downstream) instead of wrapping round to a small or negative one.
std::int32_t ParseWholeNumber(const QString& text);

// True for the characters the key filter lets through: digits, "+", "-" and the decimal separator.
bool IsNumberChar(QChar c);

class TSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
  public:
    explicit TSpinEdit(QWidget* parent = nullptr);

    std::int32_t Value() const { return ParseWholeNumber(text()); }
    void SetValue(std::int32_t value);
    QString Text() const { return text(); }
    void SetText(const QString& text);

    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }
    void keyPressEvent(QKeyEvent* event) override;

  private:
    static bool RefusedCharacters(const QKeyEvent& event);
};

} // namespace tavrin
