#pragma once
// The one way the program shows message boxes. Code that asks the user something takes an
// IMessageSeam&, so tests can script the answers (TScriptedMessageSeam) while the program shows real
// boxes (TQtMessageSeam).

#include <QString>

#include <cstdint>
#include <utility>

class QWidget;

namespace tavrin {

enum class TMsgIcon
{
    None,
    Information,
    Warning,
    Error,
    Question,
};

enum class TMsgButton : std::uint8_t
{
    None = 0,
    Ok = 1,
    Cancel = 2,
    Yes = 4,
    No = 8,
};

// A set of buttons, e.g. TMsgButton::Yes | TMsgButton::No. They appear in the platform's order.
class TMsgButtons
{
  public:
    constexpr TMsgButtons() = default;
    constexpr TMsgButtons(TMsgButton b) : FBits(static_cast<std::uint8_t>(b)) {}
    constexpr bool Has(TMsgButton b) const
    {
        return b != TMsgButton::None && (FBits & static_cast<std::uint8_t>(b));
    }
    constexpr std::uint8_t Bits() const { return FBits; }
    friend constexpr TMsgButtons operator|(TMsgButtons a, TMsgButtons b)
    {
        TMsgButtons r;
        r.FBits = a.FBits | b.FBits;
        return r;
    }
    friend constexpr bool operator==(TMsgButtons, TMsgButtons) = default;

  private:
    std::uint8_t FBits = 0;
};

constexpr TMsgButtons operator|(TMsgButton a, TMsgButton b)
{
    return TMsgButtons(a) | TMsgButtons(b);
}

// One message box. Built in the order a caller thinks of it:
//   TMessage(QStringLiteral("종료 확인"), text, TMsgIcon::Question,
//            TMsgButton::Yes | TMsgButton::No, TMsgButton::No, this)
struct TMessage
{
    TMessage() = default;
    TMessage(QString caption, QString text, TMsgIcon icon = TMsgIcon::None,
             TMsgButtons buttons = TMsgButton::Ok, TMsgButton defaultButton = TMsgButton::None,
             QWidget* owner = nullptr)
        : Caption(std::move(caption)), Text(std::move(text)), Icon(icon), Buttons(buttons),
          DefaultButton(defaultButton), Owner(owner)
    {
    }

    QString Caption; // empty: the application title, as in the toolkit's simple message box
    QString Text;    // line breaks as CR LF or LF
    TMsgIcon Icon = TMsgIcon::None;
    TMsgButtons Buttons = TMsgButton::Ok;
    TMsgButton DefaultButton = TMsgButton::None; // None: the platform's choice
    QWidget* Owner = nullptr;                    // the window the box belongs to; none: the whole program
};

class IMessageSeam
{
  public:
    virtual ~IMessageSeam() = default;
    // Shows the box modally and returns the button chosen, or TMsgButton::None when the box was closed
    // without one. Callers test for the button that lets them go on.
    virtual TMsgButton Show(const TMessage& message) = 0;
};

} // namespace tavrin
