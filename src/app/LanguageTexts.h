#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The language-table texts of a sheet or screen that is made once and shown again and
// again (a shared instance, or a panel a shared one keeps). Each text is bound to its key
// as the view is built, and apply() sets every bound text again from the table in force:
// the owner calls it each time it opens, so it reads the language the player chose since
// it was made. The views are not kept alive by the binding. Main thread only.
class LanguageTexts {
public:
    // Each sets the text now and binds it.
    void text(const std::shared_ptr<platform::ui::Label>& label, std::string key, bool upperCase = false);
    void title(const std::shared_ptr<platform::ui::Button>& button, std::string key);
    void placeholder(const std::shared_ptr<platform::ui::TextField>& field, std::string key);

    void apply() const;

private:
    enum class Kind { Text, UpperText, Title, Placeholder };
    struct Binding {
        std::weak_ptr<platform::ui::View> view;
        std::string key;
        Kind kind;
    };
    void bind(Binding binding);
    static void set(const Binding& binding);

    std::vector<Binding> bindings_;
};

} // namespace kavo
