#pragma once

#include "platform/ui/Geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::ui {
class View;
class ViewController;
} // namespace platform::ui

namespace platform::automation {

// Which views a script line means.
//   id=NAME        the accessibility identifier is NAME
//   text=EXACT     the visible text (View::text()) is EXACT
//   contains=PART  the visible text contains PART
//   class=NAME     the view's class name is NAME
//   image=NAME     an image view shows the picture named NAME (a seat's ready mark is an
//                  image view that is always there, only its picture says "ready")
// optionally followed by "#N": the N-th match (1-based) in tree order. The suffix is
// taken only when everything after the last '#' is digits; to match a text that ends
// in '#' and digits, use contains= with a shorter part.
struct Selector {
    enum class Kind { Id, Text, Contains, Class, Image };
    Kind kind = Kind::Id;
    std::string value;
    int index = 1;

    // nullopt (and `error` filled) when the text is not a selector.
    static std::optional<Selector> parse(const std::string& text, std::string* error = nullptr);
    std::string describe() const;
};

// Finds views on screen the way a person sees them. Tree order: the shown windows from
// the lowest level to the highest, each depth first (a view before its subviews,
// subviews in order). Main thread only.
class ViewQuery {
public:
    // Lays out every shown window, so what is queried is what would be drawn.
    static void layoutWindows();

    // Every visible view, in tree order.
    static std::vector<ui::View*> visibleViews();
    static std::vector<ui::View*> findAll(const Selector& selector);
    // The selector's N-th visible match, or nullptr.
    static ui::View* find(const Selector& selector);
    static bool matches(const ui::View& view, const Selector& selector);

    // A view is visible when it and its ancestors are not hidden and have alpha above
    // 0, and some of it lies inside its window and inside every clipping ancestor.
    static bool isVisible(const ui::View& view);
    // The part of the view that can be seen, in screen coordinates (empty when none).
    static ui::Rect visibleRect(const ui::View& view);

    // The view a finger at `screenPoint` would touch: the top-most shown window whose
    // bounds hold the point and whose hit test finds a view.
    static ui::View* hitView(ui::Point screenPoint);

    // The screen the player is looking at: the key window's root controller, through
    // navigation controllers (their top screen) and presented modal controllers.
    static ui::ViewController* topScreen();
    static std::string topScreenClass();

    // Non-empty texts of the visible views, in tree order; with `within`, only those of that
    // view and the views inside it (what one open sheet shows).
    static std::vector<std::string> visibleTexts(const ui::View* within = nullptr);

    // "Class id=NAME text="..."": how a script message names a view.
    static std::string describe(const ui::View& view);
};

} // namespace platform::automation
