#pragma once
// A message seam for tests: it shows nothing, records every box and answers from a script.

#include "services/MessageSeam.h"

#include <deque>
#include <vector>

namespace tavrin {

class TScriptedMessageSeam final : public IMessageSeam
{
  public:
    // Answers queued here are given in order; with none left, a box is answered with its default
    // button (or its only button, or None).
    std::deque<TMsgButton> Answers;
    // Every box shown, oldest first.
    std::vector<TMessage> Shown;

    TMsgButton Show(const TMessage& message) override;
};

} // namespace tavrin
