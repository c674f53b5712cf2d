#include "tests/support/client/ReadableScreen.h"

#include "platform/automation/ViewQuery.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace kavo::test {

namespace ui = platform::ui;

namespace {

// Lines and faces touching by less than this (points) still read apart.
constexpr double kSlack = 2;

// Text: a label's drawn text; Face: a titled button; Control: a button shown only by its
// picture (a close cross), which must not be covered either; Picture and Panel: what is
// drawn over them.
enum class Kind { Text, Face, Control, Picture, Panel };

struct Item {
    const ui::View* view;
    Kind kind;
    ui::Rect rect; // in window points
    size_t order;  // paint order: a later item is drawn above an earlier one
};

// A table's speech bubble ("chat0".."chat6"): a picture that must leave the cards and
// buttons under it in sight, not only the texts.
bool isBubble(const ui::View& view) {
    const std::string& name = view.accessibilityIdentifier();
    return name.size() == 5 && name.starts_with("chat") && std::isdigit(static_cast<unsigned char>(name[4]));
}

// Where a view lies, for the findings of a debugging run (KAVO_READ_DEBUG).
std::string where(const ui::Rect& rect) {
    std::ostringstream out;
    out << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
    return out.str();
}

std::string withoutSpaces(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r') out += c;
    return out;
}

std::string nameOf(const ui::View* view) {
    std::string name = view->accessibilityIdentifier();
    std::string text = view->text();
    if (auto* button = dynamic_cast<const ui::Button*>(view)) text = button->currentTitle();
    if (name.empty()) return text.empty() ? "a " + view->className() : "\"" + text + "\"";
    return text.empty() ? name : name + " \"" + text + "\"";
}

// A label's drawn text, in its own bounds (empty when nothing is drawn).
ui::Rect textRect(const ui::Label& label) {
    const std::vector<std::string> lines = label.displayLines();
    if (lines.empty()) return {};
    const ui::Font font = label.fittedFont();
    const ui::Rect b = label.bounds();
    double width = 0;
    for (const std::string& line : lines)
        width = std::max(width, font.measure(line).width);
    width = std::min(width, b.width());
    // The glyphs' height, not the line's leading, so that stacked one-line labels read apart.
    const double height = font.lineHeight() * double(lines.size());
    const double top = b.minY() + (b.height() - height) / 2;
    double x = b.minX();
    if (label.textAlignment() == ui::TextAlignment::Center) x = b.midX() - width / 2;
    if (label.textAlignment() == ui::TextAlignment::Right) x = b.maxX() - width;
    return {x, top, width, height};
}

// Whether the label draws its text whole.
bool drawnWhole(const ui::Label& label) {
    const std::vector<std::string> lines = label.displayLines();
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    if (withoutSpaces(joined) != withoutSpaces(label.text())) return false;
    const ui::Font font = label.fittedFont();
    for (const std::string& line : lines)
        if (font.measure(line).width > label.bounds().width() + 0.5) return false;
    return true;
}

bool readableText(const ui::Label& label) {
    return !withoutSpaces(label.text()).empty() && label.currentTextColor().a > 0.05;
}

// How a text or control cut by its window or a clipping parent can still be read: by
// scrolling a list up and down, or sideways where its content is wider than the list.
// Scrolling sideways never shows what lies beyond the content's width, nor what a row
// inside the list clips.
struct Scrolling {
    bool down = false;
    bool across = false;
    ui::Rect reach; // in window points, inside a list: what scrolling can bring into sight
    Scrolling inside(const ui::View& view, const ui::Rect& frame) const {
        auto* list = dynamic_cast<const ui::ScrollView*>(&view);
        if (!list) return down && view.clipsToBounds() ? Scrolling{down, across, reach.intersection(frame)} : *this;
        const ui::Size content = list->contentSize();
        const ui::Rect all = list->convertRect(
            {0, 0, std::max(content.width, list->bounds().width()), std::max(content.height, list->bounds().height())},
            nullptr);
        return {true, across || content.width > list->bounds().width() + 1, all};
    }
    // Whether `seen`, the visible part of `drawn`, leaves something out that scrolling
    // does not bring into sight.
    // `share`: the part of the size that may be out of sight (a picture's rim).
    bool cuts(const ui::Rect& drawn, const ui::Rect& seen, double share = 0) const {
        const double slackX = std::max(1.0, drawn.width() * share), slackY = std::max(1.0, drawn.height() * share);
        const double reachable =
            down ? std::min(drawn.maxX(), reach.maxX()) - std::max(drawn.minX(), reach.minX()) : drawn.width();
        return (!across && seen.width() < drawn.width() - slackX) ||
               (!down && seen.height() < drawn.height() - slackY) || reachable < drawn.width() - slackX;
    }
};

class Reader {
public:
    void walk(const ui::View& view, ui::Rect clip, Scrolling scrolled = {}) {
        if (view.isHidden() || view.alpha() <= 0.01) return;
        const ui::Rect frame = view.convertRect(view.bounds(), nullptr);
        // An empty field shows its hint, which must fit too ("Nhập số (00-99)").
        if (auto* field = dynamic_cast<const ui::TextField*>(&view);
            field && field->text().empty() && !field->placeholder().empty() &&
            field->font().measure(field->placeholder()).width > field->textRect().width() + 0.5 &&
            !frame.intersection(clip).isEmpty())
            cuts.push_back({{field, Kind::Text, frame.intersection(clip), order}, nameOf(field) + " hint is cut"});
        if (auto* label = dynamic_cast<const ui::Label*>(&view); label && readableText(*label)) {
            const ui::Rect drawn = label->convertRect(textRect(*label), nullptr);
            const ui::Rect seen = drawn.intersection(clip);
            // A button's title reads with its button: named by the button, its face is the item.
            auto* button = dynamic_cast<const ui::Button*>(label->superview());
            const bool title = button && button->titleLabel().get() == label;
            const ui::View* named = title ? static_cast<const ui::View*>(button) : label;
            if (!seen.isEmpty()) {
                std::string cut;
                if (!drawnWhole(*label)) {
                    cut = nameOf(named) + " is cut";
                    if (std::getenv("KAVO_READ_DEBUG"))
                        for (const auto& line : label->displayLines())
                            cut += " [" + line + "]";
                } else if (scrolled.cuts(drawn, seen))
                    cut = nameOf(named) + " runs out of its window or parent";
                if (!cut.empty()) cuts.push_back({{label, Kind::Text, seen, order}, cut});
            }
            if (!seen.isEmpty() && !title) items.push_back({label, Kind::Text, seen, order++});
        } else if (auto* button = dynamic_cast<const ui::Button*>(&view);
                   button && !withoutSpaces(button->currentTitle()).empty()) {
            // What is read is the title as drawn, not the whole (tappable) face.
            const auto& title = button->titleLabel();
            const ui::Rect drawn = title && readableText(*title) && !title->isHidden()
                                       ? title->convertRect(textRect(*title), nullptr)
                                       : frame;
            const ui::Rect seen = drawn.intersection(clip);
            if (!seen.isEmpty()) items.push_back({button, Kind::Face, seen, order++});
        } else if (button && button->isUserInteractionEnabled() && button->isEnabled() &&
                   (button->currentBackgroundImage() || button->currentImage())) {
            const ui::Rect seen = frame.intersection(clip);
            if (!seen.isEmpty()) {
                // A button half outside the window (a seat's heart at the right edge) is
                // half a target.
                if (scrolled.cuts(frame, frame.intersection(window), 0.1))
                    cuts.push_back({{button, Kind::Control, seen, order}, nameOf(button) + " runs out of the window"});
                items.push_back({button, Kind::Control, seen, order++});
            }
        } else if (auto* picture = dynamic_cast<const ui::ImageView*>(&view); picture && picture->image()) {
            items.push_back({picture, Kind::Picture, frame.intersection(clip), order++});
        } else if (view.backgroundColor().a >= 0.9 && !dynamic_cast<const ui::Window*>(&view)) {
            items.push_back({&view, Kind::Panel, frame.intersection(clip), order++});
        }
        const ui::Rect inner = view.clipsToBounds() ? clip.intersection(frame) : clip;
        if (inner.isEmpty()) return;
        const Scrolling scrolls = scrolled.inside(view, frame);
        for (const ui::ViewPtr& child : view.subviews())
            walk(*child, inner, scrolls);
    }

    void judge() {
        for (const Item& item : items)
            if (item.kind == Kind::Face || item.kind == Kind::Control) judgeClick(item);
        for (const auto& [item, finding] : cuts)
            if (judged(*item.view) && !hiddenBehindPanel(item)) findings.push_back(finding);
        for (size_t i = 0; i < items.size(); ++i) {
            const Item& a = items[i];
            if (a.kind == Kind::Control || a.kind == Kind::Picture) {
                if (judged(*a.view) && !hiddenBehindPanel(a)) judgeControl(i);
                continue;
            }
            if (a.kind != Kind::Text && a.kind != Kind::Face) continue;
            if (!judged(*a.view) || hiddenBehindPanel(a)) continue;
            for (size_t j = i + 1; j < items.size(); ++j) {
                const Item& b = items[j];
                if (related(a, b) || !overlaps(a.rect, b.rect)) continue;
                if (b.kind == Kind::Text || b.kind == Kind::Face) {
                    if (!judged(*b.view) || hiddenBehindPanel(b)) continue;
                    findings.push_back(nameOf(a.view) + " and " + nameOf(b.view) + " overlap");
                } else if (b.kind == Kind::Picture && (!b.rect.contains(a.rect) || isBubble(*b.view))) {
                    findings.push_back(nameOf(a.view) + " is covered by the picture " + nameOf(b.view) +
                                       (std::getenv("KAVO_READ_DEBUG")
                                            ? " text at " + where(a.rect) + " " + b.view->superview()->className() +
                                                  " at " + where(b.rect)
                                            : std::string()));
                } else if (b.kind == Kind::Panel && !b.rect.contains(a.rect)) {
                    findings.push_back(nameOf(a.view) + " is covered by " + nameOf(b.view));
                }
            }
        }
    }

    // A control drawn under a small panel or another control's text (an unread badge on
    // the close button) cannot be seen whole; nor can a card or a control under a bubble,
    // unless it holds the bubble whole and is four bubbles tall (the table it stands on:
    // a tablet's card is taller and wider than a short bubble) or is drawn faint (the
    // game's mark on the felt).
    void judgeControl(size_t i) {
        const Item& a = items[i];
        for (size_t j = i + 1; j < items.size(); ++j) {
            const Item& b = items[j];
            if (related(a, b) || !overlaps(a.rect, b.rect)) continue;
            if (b.kind == Kind::Picture && isBubble(*b.view) && !isBubble(*a.view) && a.view->alpha() >= 0.5 &&
                (!a.rect.contains(b.rect) || a.rect.height() < 4 * b.rect.height()))
                findings.push_back(nameOf(a.view) + " is covered by the bubble " + nameOf(b.view) +
                                   (std::getenv("KAVO_READ_DEBUG") ? " at " + where(a.rect) : std::string()));
            if (a.kind == Kind::Picture || b.rect.contains(a.rect)) continue;
            // A label lying wholly on its button is the button's caption.
            if (b.kind == Kind::Text && a.rect.contains(b.rect)) continue;
            if (b.kind == Kind::Panel || b.kind == Kind::Text)
                findings.push_back(nameOf(a.view) + " is covered by " + nameOf(b.view));
        }
    }

    // A button that shows must take a click at its centre: found there by the same hit
    // test a real click goes through, not by an empty container or a picture above it.
    void judgeClick(const Item& item) {
        auto* button = dynamic_cast<const ui::Button*>(item.view);
        if (!button || !button->isEnabled() || !judged(*button) || hiddenBehindPanel(item)) return;
        for (const ui::View* v = button; v; v = v->superview())
            if (!v->isUserInteractionEnabled()) return;
        const ui::Rect visible = platform::automation::ViewQuery::visibleRect(*button);
        if (visible.isEmpty()) return;
        const ui::View* hit = platform::automation::ViewQuery::hitView(visible.center());
        // A notice's window above holds every touch while it is up: what it covers waits for it.
        if (hit && (hit->isDescendantOf(button) || hit->window() != button->window())) return;
        findings.push_back(nameOf(button) + ": a click at its centre lands on " +
                           (hit ? nameOf(hit) : std::string("nothing")) +
                           (std::getenv("KAVO_READ_DEBUG") ? " at " + where(visible) : std::string()));
    }

    std::vector<Item> items;
    std::vector<std::pair<Item, std::string>> cuts; // a label drawn cut, and how
    ui::Rect window;                                // the screen, in window points
    std::vector<std::string> findings;
    const ui::View* only = nullptr;

private:
    bool judged(const ui::View& view) const { return !only || view.isDescendantOf(only); }
    static bool related(const Item& a, const Item& b) {
        return a.view->isDescendantOf(b.view) || b.view->isDescendantOf(a.view);
    }
    static bool overlaps(const ui::Rect& a, const ui::Rect& b) {
        const ui::Rect both = a.intersection(b);
        return both.width() > kSlack && both.height() > kSlack;
    }
    // Wholly behind a picture or panel drawn later (a sheet over the table): the player
    // does not see it, so it is not read. A bubble is no sheet: what it hides is a finding.
    bool hiddenBehindPanel(const Item& item) const {
        for (const Item& other : items)
            if (other.order > item.order && (other.kind == Kind::Panel || other.kind == Kind::Picture) &&
                !isBubble(*other.view) && !related(item, other) && other.rect.contains(item.rect))
                return true;
        return false;
    }
    size_t order = 0;
};

} // namespace

std::vector<std::string> unreadableTexts(const platform::ui::View* only) {
    Reader reader;
    reader.only = only;
    const ui::Size screen = ui::Screen::size();
    reader.window = ui::Rect{0, 0, screen.width, screen.height};
    for (const auto& window : ui::Window::visibleWindows())
        reader.walk(*window, reader.window);
    reader.judge();
    std::sort(reader.findings.begin(), reader.findings.end());
    reader.findings.erase(std::unique(reader.findings.begin(), reader.findings.end()), reader.findings.end());
    return reader.findings;
}

namespace {
void findVisible(const ui::View& view, const std::string& identifier, const ui::View*& found) {
    if (view.isHidden() || view.alpha() <= 0.01) return;
    if (view.accessibilityIdentifier() == identifier) found = &view;
    for (const ui::ViewPtr& child : view.subviews())
        findVisible(*child, identifier, found);
}
} // namespace

const platform::ui::View* visibleViewWithIdentifier(const std::string& identifier) {
    const ui::View* found = nullptr;
    for (const auto& window : ui::Window::visibleWindows())
        findVisible(*window, identifier, found);
    return found;
}

std::string describe(const std::vector<std::string>& findings) {
    std::ostringstream out;
    for (const std::string& finding : findings)
        out << "  " << finding << "\n";
    return out.str();
}

} // namespace kavo::test
