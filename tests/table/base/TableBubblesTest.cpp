// Every line said at a table shows, by its speaker, readable: at every table that shows
// bubbles, on the phone and the tablet, from every seat, with the longest line the wire
// carries, several quick lines from one seat and lines from every seat at once. The lines
// come as they do in play: the chat reply through the reply dispatcher and its main-thread
// twin, my own typed into the chat sheet, on the manual clock.
#include "app/UIController.h"
#include "app/widgets/CustomLabel.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "table/base/GameTableView.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/boardChat.h"
#include "tests/support/client/ReadableScreen.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kMe = 7;
// The other players are 8 + their place at the table, named "an" and their place.
constexpr int32_t kFirstGuest = 8;
// How long a seat's bubble stays before it shows what came meanwhile, or hides.
constexpr double kBubbleTime = 3.0;
// How often the test looks at the table: every line is looked for at each look.
constexpr double kLook = 0.1;
// The mark a bubble ends a line with when it shows only its beginning.
const std::string kMore = "…";

struct Table {
    int8_t type;
    const char* name;
    int places;
};

constexpr Table kTables[] = {
    {3, "TienLen", 4}, {12, "TienLenMB", 4}, {13, "Phom", 4},   {2, "XiZach", 4},       {17, "CaoRua", 6},
    {11, "BaiCao", 4}, {16, "MauBinh", 4},   {5, "CoTuong", 2}, {20, "HiddenChess", 2},
};

// The longest line the wire carries: its text field holds 65535 bytes. Vietnamese words of
// two- and three-byte letters, cut at a letter, never inside one.
std::string longestLine(const std::string& tag) {
    const std::string words = "Hôm nay trời đẹp quá, chúng ta cùng chơi thêm vài ván nữa rồi nghỉ nhé các bạn ơi. ";
    std::string line = tag;
    while (line.size() + words.size() <= 65535)
        line += words;
    for (size_t at = 0; at < words.size();) {
        const unsigned char lead = static_cast<unsigned char>(words[at]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (line.size() + length > 65535) break;
        line += words.substr(at, length);
        at += length;
    }
    return line;
}

// A line of exactly `characters` characters that starts with `tag`.
std::string lineOf(const std::string& tag, size_t characters) {
    std::string line = tag + " Được rồi, mình đi trước nhé, các bạn chờ mình một lát thôi mà, đừng vội";
    return boardChat::firstCharacters(line, characters);
}

std::string rtrim(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == ','))
        text.pop_back();
    return text;
}

// The shortest distance between two rectangles (0 when they touch or overlap).
double distance(const ui::Rect& a, const ui::Rect& b) {
    const double dx = std::max({0.0, b.minX() - a.maxX(), a.minX() - b.maxX()});
    const double dy = std::max({0.0, b.minY() - a.maxY(), a.minY() - b.maxY()});
    return std::hypot(dx, dy);
}

bool overlaps(const ui::Rect& a, const ui::Rect& b) {
    const ui::Rect both = a.intersection(b);
    return both.width() > 0.5 && both.height() > 0.5;
}

const ui::View* findView(const ui::View& root, const std::string& id) {
    if (root.accessibilityIdentifier() == id) return &root;
    for (const auto& child : root.subviews())
        if (const ui::View* found = findView(*child, id)) return found;
    return nullptr;
}

ui::Rect inWindow(const ui::View& view) {
    return view.convertRect(view.bounds(), nullptr);
}

// Where a label draws its text in the window (a label is often wider than its text).
ui::Rect drawnText(const ui::Label& label) {
    const ui::Font font = label.fittedFont();
    double width = 0;
    for (const std::string& line : label.displayLines())
        width = std::max(width, font.measure(line).width);
    const ui::Rect box = label.bounds();
    width = std::min(width, box.width());
    const double height = std::min(box.height(), font.lineHeight() * double(label.displayLines().size()));
    const double x = label.textAlignment() == ui::TextAlignment::Center  ? box.midX() - width / 2
                     : label.textAlignment() == ui::TextAlignment::Right ? box.maxX() - width
                                                                         : box.minX();
    return label.convertRect({x, box.midY() - height / 2, width, height}, nullptr);
}

// One line said at the table, and what the test saw of it.
struct Said {
    int seat;
    std::string line;
    double at;
    std::optional<double> firstShown;
    double lastShown = 0;
};

class TableBubbles : public TableTest, public ::testing::WithParamInterface<Table> {
protected:
    void SetUp() override {
        TableTest::SetUp();
        UIController::setMyInfo(playerRecord<TienLenPlayer>(kMe, "minh", 1000000));
    }

    // I choose the game and the server seats me at room 2, board 5, every place taken.
    void sitAtFullTable(const std::string& scene) {
        scene_ = scene;
        faulted_ = false;
        const Table& t = GetParam();
        receiveReply(61, Bytes().byte(t.type));
        Bytes join = Bytes().byte(2).byte(5).int32(kMe).int32(100);
        join.int32(kMe).utf("minh").int64(1000000).int16(1).int32(300).boolean(false);
        for (int place = 1; place < t.places; ++place)
            join.int32(kFirstGuest + place)
                .utf("an" + std::to_string(place))
                .int64(500000)
                .int16(2)
                .int32(300)
                .boolean(false);
        receiveReply(8, join);
        advance(0.5);
        table_ = GameController::getTableView(t.type);
        ASSERT_TRUE(table_);
        seats_.clear();
        speakers_.clear();
        said_.clear();
        now_ = 0;
        // Every seat of the table, by the number its views carry (seat 0 is mine).
        for (int s = 0; s < 6; ++s) {
            const ui::View* seat = findView(*table_->view(), "btnSeat" + std::to_string(s));
            if (!seat && s == 0) seat = findView(*table_->view(), "btnSeatME");
            if (seat) seats_[s] = inWindow(*seat);
        }
        // Who sits where: the seat whose name shows the player's.
        for (int place = 0; place < t.places; ++place) {
            const std::string name = place == 0 ? "minh" : "an" + std::to_string(place);
            const int32_t id = place == 0 ? kMe : kFirstGuest + place;
            for (const auto& [s, rect] : seats_) {
                for (const std::string prefix : {"btnName", "btnUsername"}) {
                    const ui::View* shown = findView(*table_->view(), prefix + std::to_string(s));
                    if (!shown && s == 0) shown = findView(*table_->view(), prefix + "ME");
                    auto* button = dynamic_cast<const ui::Button*>(shown);
                    if (button && button->currentTitle() == name) speakers_[id] = s;
                }
            }
            ASSERT_TRUE(speakers_.count(id)) << name << " has no seat whose name shows his";
        }
    }

    void advance(double seconds) {
        platform::RunLoop::main().advance(seconds);
        runMainThread();
    }

    // `id` says `line`: the server's chat reply, as every line of another player comes.
    void say(int32_t id, const std::string& line) {
        receiveReply(9, Bytes().byte(2).byte(5).int32(id).utf(line));
        said_.push_back({speakers_.at(id), line, now_, std::nullopt, 0});
        look();
    }

    // I type `line` into the chat sheet and send it.
    void type(const std::string& line) {
        drive("tap id=btnChat\ntype id=txtChat " + line + "\nreturn id=txtChat");
        said_.push_back({speakers_.at(kMe), line, now_, std::nullopt, 0});
        look();
    }

    // Lets `seconds` pass, looking at the table every tenth of a second.
    void watch(double seconds) {
        for (double passed = 0; passed < seconds - 1e-9; passed += kLook) {
            advance(kLook);
            now_ += kLook;
            look();
        }
    }

    // Until every line said has shown and every seat's bubble has hidden (a minute at most).
    void watchToTheEnd() {
        for (int step = 0; step < 600; ++step) {
            const bool allShown =
                std::all_of(said_.begin(), said_.end(), [](const Said& one) { return one.firstShown.has_value(); });
            if (allShown && shownBubbles().empty()) break;
            watch(kLook);
        }
    }

    // The bubbles of the seats that show now, by seat.
    std::map<int, const ui::View*> shownBubbles() const {
        std::map<int, const ui::View*> shown;
        for (const auto& [s, rect] : seats_) {
            const ui::View* bubble = findView(*table_->view(), "chat" + std::to_string(s));
            if (bubble && bubble->isVisibleOnScreen()) shown[s] = bubble;
        }
        return shown;
    }

    // What the player sees of the bubbles now; a failure for everything he cannot read
    // or cannot tell apart, and the lines shown are marked seen.
    void look() {
        std::vector<const ui::View*> painted;
        // The sheets and panels laid over the table are their own controllers' (the chat
        // sheet sliding out after a line is sent): the table's bubbles lie under them.
        const ui::View& tableView = *table_->view();
        const std::function<void(const ui::View&)> walk = [&](const ui::View& view) {
            if (view.isHidden() || view.alpha() <= 0.01) return;
            if (view.viewController() && &view != &tableView && !tableView.isDescendantOf(&view)) return;
            painted.push_back(&view);
            for (const auto& child : view.subviews())
                walk(*child);
        };
        for (const auto& window : ui::Window::visibleWindows())
            walk(*window);
        const auto bubbles = shownBubbles();
        const ui::Rect screen{0, 0, ui::Screen::size().width, ui::Screen::size().height};
        std::vector<std::string> faults;
        for (const auto& [s, bubble] : bubbles) {
            const ui::Rect place = inWindow(*bubble);
            const std::string who = "seat " + std::to_string(s) + "'s bubble";
            if (!screen.contains(place)) faults.push_back(who + " runs out of the window");
            // By its speaker: nearer his seat than any other seat of the table.
            for (const auto& [o, seat] : seats_)
                if (o != s && distance(place, seat) <= distance(place, seats_.at(s)))
                    faults.push_back(who + " stands as near seat " + std::to_string(o) + " as its own");
            // Clear of the table's buttons, names and other texts and of the other bubbles;
            // nothing drawn over it.
            const auto at = std::find(painted.begin(), painted.end(), bubble);
            for (auto other = painted.begin(); other != painted.end(); ++other) {
                const ui::View& view = **other;
                if (&view == bubble || view.isDescendantOf(bubble) || bubble->isDescendantOf(&view)) continue;
                const std::string name =
                    view.accessibilityIdentifier().empty() ? view.className() : view.accessibilityIdentifier();
                if (auto* button = dynamic_cast<const ui::Button*>(&view)) {
                    const bool drawn = !button->currentTitle().empty() || button->currentImage() ||
                                       button->currentBackgroundImage() || button->isUserInteractionEnabled();
                    if (drawn && overlaps(place, inWindow(view))) faults.push_back(who + " lies on " + name);
                } else if (auto* label = dynamic_cast<const ui::Label*>(&view)) {
                    if (!label->text().empty() && overlaps(place, drawnText(*label)))
                        faults.push_back(who + " lies on " + name + " \"" + label->text().substr(0, 20) + "\"");
                } else if (other > at && overlaps(place, inWindow(view))) {
                    auto* picture = dynamic_cast<const ui::ImageView*>(&view);
                    if ((picture && picture->image()) || view.backgroundColor().a > 0.05)
                        faults.push_back(name + " is drawn over " + who);
                }
            }
            const CustomLabel* label = nullptr;
            for (const auto& child : bubble->subviews())
                if (auto* text = dynamic_cast<const CustomLabel*>(child.get())) label = text;
            if (!label) {
                faults.push_back(who + " shows no text");
                continue;
            }
            // Drawn whole inside the bubble.
            std::string drawn;
            for (const std::string& line : label->displayLines())
                drawn += drawn.empty() ? line : " " + line;
            if (drawn != label->text() || !place.contains(inWindow(*label)) ||
                label->bounds().height() < label->font().lineHeight() * double(label->displayLines().size()) - 0.5)
                faults.push_back(who + " does not draw its text whole");
            if (!markSeen(s, label->text())) faults.push_back(who + " shows \"" + label->text() + "\", nobody said");
        }
        // The first of a scene's faults is told; the scene goes on, to tell which lines show.
        if (!faults.empty() && !faulted_) {
            faulted_ = true;
            ADD_FAILURE() << GetParam().name << ", " << scene_ << ", at " << now_ << " s:\n" << describe(faults);
        }
    }

    // Marks the lines of seat `s` that `text` shows: one line or several of them in the order
    // said, joined by ", ", or the beginning of one line with the mark that more follows.
    bool markSeen(int s, const std::string& text) {
        std::vector<Said*> lines;
        for (Said& one : said_)
            if (one.seat == s) lines.push_back(&one);
        std::vector<Said*> shown;
        if (text.ends_with(kMore)) {
            const std::string start = rtrim(text.substr(0, text.size() - kMore.size()));
            for (Said* one : lines)
                if (!start.empty() && one->line.starts_with(start)) shown = {one};
        }
        for (size_t first = 0; first < lines.size() && shown.empty(); ++first) {
            std::string joined;
            for (size_t last = first; last < lines.size() && joined.size() < text.size(); ++last) {
                joined += (joined.empty() ? "" : ", ") + lines[last]->line;
                if (joined == text) shown.assign(lines.begin() + long(first), lines.begin() + long(last) + 1);
            }
        }
        for (Said* one : shown) {
            if (!one->firstShown) one->firstShown = now_;
            one->lastShown = now_;
        }
        return !shown.empty();
    }

    // Every line said showed, each within a bubble's time after it was said or after the
    // line its seat said before it ended.
    void expectEveryLineShownInTurn() {
        const std::string& what = scene_;
        std::map<int, const Said*> before;
        for (const Said& one : said_) {
            const std::string line = one.line.substr(0, 40) + (one.line.size() > 40 ? "..." : "");
            if (!one.firstShown) {
                ADD_FAILURE() << GetParam().name << ", " << what << ": seat " << one.seat << "'s line \"" << line
                              << "\" said at " << one.at << " s never showed";
                continue;
            }
            double from = one.at;
            if (const Said* previous = before[one.seat]; previous && previous->firstShown)
                from = std::max(from, previous->lastShown + kLook);
            EXPECT_LE(*one.firstShown, from + kBubbleTime + kLook / 2)
                << GetParam().name << ", " << what << ": seat " << one.seat << "'s line \"" << line << "\" said at "
                << one.at << " s showed only at " << *one.firstShown << " s";
            before[one.seat] = &one;
        }
    }

    int32_t idAt(int place) const { return place == 0 ? kMe : kFirstGuest + place; }

    std::shared_ptr<GameTableView> table_;
    std::map<int, ui::Rect> seats_;
    std::map<int32_t, int> speakers_;
    std::vector<Said> said_;
    double now_ = 0;
    std::string scene_;
    bool faulted_ = false;
};

// At every table, on each device: each player alone says the longest line the wire carries;
// then each says five lines of 50 characters 0.4 s apart and one more 12 s later; then every
// player speaks at once, I by the chat sheet. Every line shows, by its speaker, whole or
// marked as cut, clear of the table's buttons, names and the other bubbles, within a
// bubble's time after the line before it.
TEST_P(TableBubbles, EveryLineSaidShowsByItsSpeakerInTurn) {
    const Table& t = GetParam();
    for (ui::Idiom device : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        relaunchAs(device);
        const std::string on = device == ui::Idiom::Tablet ? " on the tablet" : " on the phone";
        for (int place = 0; place < t.places; ++place) {
            sitAtFullTable("the longest line from place " + std::to_string(place) + on);
            if (HasFatalFailure()) return;
            const std::string line = longestLine("[" + std::to_string(place) + "] ");
            ASSERT_EQ(line.size(), 65535u);
            say(idAt(place), line);
            watchToTheEnd();
            expectEveryLineShownInTurn();
        }
        for (int place = 0; place < t.places; ++place) {
            sitAtFullTable("quick lines from place " + std::to_string(place) + on);
            if (HasFatalFailure()) return;
            for (int k = 0; k < 5; ++k) {
                const std::string line = lineOf("[" + std::to_string(place) + "." + std::to_string(k) + "]", 50);
                ASSERT_EQ(boardChat::countCharacters(line), 50u);
                say(idAt(place), line);
                if (k < 4) watch(0.4);
            }
            watch(12 - 1.6);
            say(idAt(place), lineOf("[" + std::to_string(place) + ".5]", 50));
            watchToTheEnd();
            expectEveryLineShownInTurn();
        }
        sitAtFullTable("every player at once" + on);
        if (HasFatalFailure()) return;
        for (int place = 1; place < t.places; ++place)
            say(idAt(place), longestLine("[" + std::to_string(place) + "] "));
        type("Ván này mình đánh chậm thôi nhé, đợi mình một chút");
        watchToTheEnd();
        expectEveryLineShownInTurn();
    }
}

INSTANTIATE_TEST_SUITE_P(EveryTable, TableBubbles, ::testing::ValuesIn(kTables),
                         [](const ::testing::TestParamInfo<Table>& info) { return std::string(info.param.name); });

} // namespace
} // namespace kavo::test
