#include "shell/TextFieldKeys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tavrin {

namespace {

bool IsTextField(const QObject* object)
{
    return qobject_cast<const QLineEdit*>(object) || qobject_cast<const QAbstractSpinBox*>(object) ||
           qobject_cast<const QTextEdit*>(object) || qobject_cast<const QPlainTextEdit*>(object);
}

bool IsTextKey(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::Paste))
        return true;
    return key.keyCombination() == (Qt::CTRL | Qt::Key_D);
}

} // namespace

TTextFieldKeys::TTextFieldKeys(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

TTextFieldKeys::~TTextFieldKeys() { qApp->removeEventFilter(this); }

bool TTextFieldKeys::eventFilter(QObject* watched, QEvent* event)
{
    // Accepting the override hands the key to the field before any shortcut is looked up.
    if (event->type() == QEvent::ShortcutOverride && IsTextField(watched) &&
        IsTextKey(*static_cast<QKeyEvent*>(event)))
        event->accept();
    return QObject::eventFilter(watched, event);
}

} // namespace tavrin
