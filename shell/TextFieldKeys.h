#pragma once
// Keeps the text meaning of copy, paste and Ctrl+D in text fields. The main window's shortcuts for
// them act on pictures; while a text field has the focus, the key goes to the field instead.

#include <QObject>

namespace tavrin {

class TTextFieldKeys : public QObject
{
    Q_OBJECT
public:
    // Watches the whole application while it lives.
    explicit TTextFieldKeys(QObject* parent);
    ~TTextFieldKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace tavrin
