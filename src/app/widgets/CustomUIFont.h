#pragma once

#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/View.h"

#include <map>
#include <memory>
#include <string>

namespace kavo {

// A one-line label in the portal's own bitmap font: every character is cut from the
// sprite sheet that Resources holds (imgFont, stored by the log-in screen) and shown as an
// image view of its own, scaled to the requested size (42 is the sheet's natural size)
// and aligned left, centred or right. Characters the font lacks take no room. The lottery
// screens use it for their countdowns and result lines.
class CustomUIFont : public platform::ui::View {
public:
    enum Alignment { Left = 0, Center = 1, Right = 2 };

    // An empty label; it shows nothing until set up by labelWithFrame(..., label).
    explicit CustomUIFont(platform::ui::Rect frame = {});
    // A label set up with the content at the size. The font name is not used.
    CustomUIFont(platform::ui::Rect frame, const std::string& content, const std::string& fontName, int size);

    static std::shared_ptr<CustomUIFont> make(platform::ui::Rect frame = {});
    static std::shared_ptr<CustomUIFont> labelWithFrame(platform::ui::Rect frame, const std::string& content,
                                                        const std::string& fontName, int size);
    // Gives an existing label the frame and sets it up again (centred, empty glyph cache).
    static void labelWithFrame(platform::ui::Rect frame, const std::string& content, const std::string& fontName,
                               int size, CustomUIFont& label);

    // Resets alignment, glyph cache, scale and sheet, then lays the content out.
    void initComponentsWithContent(const std::string& content, int size);

    void setString(const std::string& text);
    const std::string& curString() const { return curString_; }
    // Lays the string out again only when the scale changes.
    void setFontSize(int size);
    double scaleSize() const { return scaleSize_; }
    // 0 left, 1 centre, 2 right; lays the string out again only when it changes.
    void setTextAlignment(int alignment);
    int textAlignment() const { return textAlignment_; }
    // The width the placed glyphs take.
    double totalLength() const { return totalLength_; }

    // The cell of a one-character string, or -1.
    static int getIndexOfCharacter(const std::string& character);
    static int getWidthOfCharacterAtIndex(int index);
    // An image view showing that part of the sheet (empty when there is no sheet).
    std::shared_ptr<platform::ui::ImageView> getFromFrame(platform::ui::Rect rect) const;

    void makeTextLeft();
    void makeTextCenter();
    void makeTextRight();

    // The automation text: the string shown.
    std::string text() const override { return curString_; }

private:
    void layout();
    void shiftGlyphs(double offset);

    platform::ui::ImagePtr fontImageRef_;
    double scaleSize_ = 1;
    std::map<char32_t, std::shared_ptr<platform::ui::ImageView>> charDict_;
    std::string curString_;
    int textAlignment_ = Center;
    double totalLength_ = 0;
    bool setUp_ = false;
};

} // namespace kavo
