#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/View.h"

#include <functional>
#include <memory>

namespace kavo {

// The mailbox button of a table screen, top right under the mail badge.
class MailBoxButton {
public:
    static std::shared_ptr<platform::ui::Button> add(platform::ui::View& root, std::function<void()> action);
};

} // namespace kavo
