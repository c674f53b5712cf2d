#include "platform/automation/TreeDump.h"

#include "platform/foundation/Value.h"
#include "platform/ui/TextInputTraits.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace platform::automation {

namespace {

void dumpInto(const ui::View& view, int depth, std::string& out) {
    out.append(static_cast<size_t>(depth) * 2, ' ');
    out += view.className();
    if (!view.accessibilityIdentifier().empty()) out += " id=" + view.accessibilityIdentifier();
    ui::Rect f = view.frame();
    out += " frame=(" + formatReal(f.x()) + " " + formatReal(f.y()) + " " + formatReal(f.width()) + " " +
           formatReal(f.height()) + ")";
    std::string text = view.text();
    // A dump lands in logs and test output: a password never does.
    if (auto* input = dynamic_cast<const ui::TextInputTraits*>(&view);
        input && input->isSecureTextEntry() && !text.empty())
        text = "<secure " + std::to_string(text.size()) + " bytes>";
    // Keep one view per line: a multi-line text shows its breaks as \n.
    for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2))
        text.replace(at, 1, "\\n");
    if (!text.empty()) out += " text=\"" + text + "\"";
    if (view.isHidden()) out += " hidden";
    out += "\n";
    for (const ui::ViewPtr& child : view.subviews())
        dumpInto(*child, depth + 1, out);
}

} // namespace

std::string TreeDump::dump(const ui::View& root) {
    std::string out;
    dumpInto(root, 0, out);
    return out;
}

std::string TreeDump::dumpWindows() {
    std::string out;
    for (const auto& window : ui::Window::visibleWindows())
        dumpInto(*window, 0, out);
    return out;
}

} // namespace platform::automation
