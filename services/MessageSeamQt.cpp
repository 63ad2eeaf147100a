#include "services/MessageSeamQt.h"

#include <QGuiApplication>
#include <QMessageBox>

#include <array>
#include <utility>

namespace tavrin {

namespace {

constexpr std::array<std::pair<TMsgButton, QMessageBox::StandardButton>, 4> ButtonMap{{
    {TMsgButton::Ok, QMessageBox::Ok},
    {TMsgButton::Cancel, QMessageBox::Cancel},
    {TMsgButton::Yes, QMessageBox::Yes},
    {TMsgButton::No, QMessageBox::No},
}};

QMessageBox::Icon QtIcon(TMsgIcon icon)
{
    switch (icon) {
    case TMsgIcon::Information:
        return QMessageBox::Information;
    case TMsgIcon::Warning:
        return QMessageBox::Warning;
    case TMsgIcon::Error:
        return QMessageBox::Critical;
    case TMsgIcon::Question:
        return QMessageBox::Question;
    case TMsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(TMsgButtons buttons)
{
    QMessageBox::StandardButtons result;
    for (auto [ours, qt] : ButtonMap)
        if (buttons.Has(ours)) result |= qt;
    return result ? result : QMessageBox::StandardButtons(QMessageBox::Ok);
}

QMessageBox::StandardButton QtButton(TMsgButton button)
{
    for (auto [ours, qt] : ButtonMap)
        if (ours == button) return qt;
    return QMessageBox::NoButton;
}

TMsgButton OurButton(int qtButton)
{
    for (auto [ours, qt] : ButtonMap)
        if (qt == qtButton) return ours;
    return TMsgButton::None;
}

} // namespace

TMsgButton TQtMessageSeam::Show(const TMessage& message)
{
    const QString caption =
        message.Caption.isEmpty() ? QGuiApplication::applicationDisplayName() : message.Caption;
    QString text = message.Text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QtIcon(message.Icon), caption, text, QtButtons(message.Buttons), message.Owner);
    box.setTextFormat(Qt::PlainText);
    if (message.DefaultButton != TMsgButton::None && message.Buttons.Has(message.DefaultButton))
        box.setDefaultButton(QtButton(message.DefaultButton));
    return OurButton(box.exec());
}

} // namespace tavrin
