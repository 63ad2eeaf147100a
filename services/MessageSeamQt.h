#pragma once
// Message boxes of the running program, shown with the toolkit's message box.

#include "services/MessageSeam.h"

namespace tavrin {

class TQtMessageSeam final : public IMessageSeam
{
  public:
    TMsgButton Show(const TMessage& message) override;
};

} // namespace tavrin
