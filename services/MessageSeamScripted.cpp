#include "services/MessageSeamScripted.h"

#include <bit>

namespace tavrin {

TMsgButton TScriptedMessageSeam::Show(const TMessage& message)
{
    Shown.push_back(message);
    if (!Answers.empty()) {
        const TMsgButton answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    if (message.DefaultButton != TMsgButton::None) return message.DefaultButton;
    const std::uint8_t bits = message.Buttons.Bits();
    return std::popcount(bits) == 1 ? static_cast<TMsgButton>(bits) : TMsgButton::None;
}

} // namespace tavrin
