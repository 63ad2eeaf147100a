#include "dialogs/SpinEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace tavrin {

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();

std::int32_t Saturate(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp(value, kMin, kMax));
}

} // namespace

std::int32_t ParseWholeNumber(const QString& text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
    if (i == t.size()) return 0;
    std::int64_t magnitude = 0; // kept just past the 32-bit range, so it cannot overflow
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        magnitude = std::min<std::int64_t>(magnitude * 10 + (c - u'0'), kMax + 2);
    }
    return Saturate(negative ? -magnitude : magnitude);
}

bool IsNumberChar(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || QLocale().decimalPoint().contains(c);
}

TSpinEdit::TSpinEdit(QWidget* parent) : QAbstractSpinBox(parent)
{
    // Digits never need an input method; with one, composed text would bypass the key filter.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    SetValue(0);
}

void TSpinEdit::SetValue(std::int32_t value)
{
    SetText(QString::number(value));
}

void TSpinEdit::SetText(const QString& text)
{
    lineEdit()->setText(text);
}

void TSpinEdit::stepBy(int steps)
{
    SetValue(Saturate(std::int64_t{Value()} + steps));
    selectAll();
}

bool TSpinEdit::RefusedCharacters(const QKeyEvent& event)
{
    // Shortcuts (Ctrl+C, Ctrl+V, Alt+letter) are not typed characters.
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() && !IsNumberChar(c); });
}

void TSpinEdit::keyPressEvent(QKeyEvent* event)
{
    if (RefusedCharacters(*event)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

} // namespace tavrin
