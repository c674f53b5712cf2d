// What the player reads, on the phone and the tablet, in Vietnamese and English, against
// the portal stub: each table's first result (its drive script played to it: the bubbles
// with the scores, the points, the Continue button, the chess result) and every sheet over the game
// grid. Each picture is written into the build folder (end-<game>-..., sheet-<name>-...,
// then <phone|tablet>-<vi|en>.png) and read by the overlap test. A finding that holds a
// text of `layoutFindings` is what the screen's own frames leave unreadable there.
#include "account/ShopView.h"
#include "account/TopupZelByCardView.h"
#include "app/Resources.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "portal/DispatchRecord.h"
#include "social/MessageView.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {
namespace {

using LayoutFindings = std::array<const char*, 4>;

struct Table {
    const char* game;
    // The line of scripts/<game>.drive at which the first result is on the table (with the
    // lines before it where the line alone is not the first of its kind).
    const char* result;
    // On the manual clock a script's pause moves the clock by itself while the stub's
    // players take their own time: what a pause stands for at a real table.
    std::pair<const char*, const char*> pause;
    LayoutFindings layoutFindings;
    const char* read = "advance 1.2"; // the steps from the result to the reading, from its last message
    // The first wait of the script for a state that a message of the stub brings about on
    // the clock (through the table's queue or an animation): from it on, each wait of the
    // script moves the clock in small steps until it holds (the messages come in real time
    // meanwhile). A pause before the wait would not move the clock whenever the stub's
    // reply came after it.
    const char* clockedFrom = nullptr;
};

constexpr std::pair<const char*, const char*> kRound{"\nadvance 0.5\n", "\nadvance 3\n"}; // a round of three
// Each reading waits for the last message the stub sends for the result (the last seat's
// money, which it tells after the result itself and the other seats' money), never for a
// control that comes earlier: the manual clock moves the table's animations while the stub,
// on the real clock, may still be sending. Where the last seat's money depends on a shuffle,
// the reading waits for its money before the hand to go. The stub tells which message of
// the connection ended the result: the test waits until the client has it before a row's
// reading steps (a text may come with an earlier message of the result, such as the chess
// games' amounts before the balance), and a message up to it that reached the screen after
// the picture fails the reading.
constexpr Table kTables[] = {
    // The stub ends a Tien Len game, then tells each seat its money in turn, minh's last.
    {"tienlen", "wait id=btnStart 30", kRound, {}, "wait text=37.999.900 Zel 30\nadvance 1.2"},
    {"tienlenmb", "wait id=btnStart 30", kRound, {}, "wait text=38.000.200 Zel 30\nadvance 1.2"},
    // Read while the first deal's result bubbles are up and its first amount late in its
    // flight (the others wait their turn). The losses fly to the middle of the table, where
    // the system bubble (the refused lay-off) also stands, on the deck's place and the left
    // seat's last discards. hoa's money comes last. On the phone the left seat's line stands
    // by it under the table's title, on the top edge of its result mark: between the two is
    // 3 points less than a bubble, and below the seat a bubble would stand by mine.
    {"phom",
     "tap id=card46\ntap id=btnAutoSelected",
     {},
     {"is covered by the bubble chat4", "Không gửi được\" and flyText \"-100\" overlap",
      "Nothing to lay off onto\" and flyText \"-100\" overlap", "ok3 is covered by the bubble chat3"},
     "wait-not text=42.500.000 Zel 30\nadvance 0.9"},
    // The stake tables tell lan's, minh's, then my money; the same cards every run.
    // The peek closes on the clock once the stub has turned my card.
    {"baicao",
     "wait id=btnStart 30",
     {},
     {},
     "wait text=1.000.200 Zel 30\nadvance 1.2",
     "wait-not id=viewNanBai"},
    // The system bubble stands in the middle of the table, on the deck. The notice of my
    // turn stands there for 4 s: they pass before I draw, as the player reads it, so that
    // the result is read without it whenever in the script the stub's turn came.
    {"xizach",
     "wait id=btnStart 30",
     {"\nwait id=imgNextMe 60\n", "\nwait id=imgNextMe 60\nadvance 4\n"},
     {"btnBaiTy is covered by"},
     "wait text=999.900 Zel 30\nadvance 1.2",
     "wait-not id=viewNanBai"},
    // The deal, the arrangement and the result come through the table's queue, which runs
    // on the clock. The rising texts stand at fixed points by each seat, and the other
    // players' cards, grown at the result, where the layout of their rows puts them. The
    // result is one message.
    {"maubinh",
     "wait id=lblFlyText 30",
     {},
     {"is covered by lblFlyText", "is covered by the picture a ImageView"},
     "advance 1.2",
     "wait id=btnAutoSelected"},
    // The side seats' card slots reach over the edge of the seat's money. The scores come
    // first, then the cards, then the money of me, lan, minh and hoa. An amount lands on the
    // board, where the score bubble of the seat whose bubble stands in the middle is up. My
    // cards, once turned up, lie over the middle of my seat's gift button.
    {"caorua",
     "wait contains= nút 35",
     {},
     {"is covered by the picture face", "nút\" and flyText \"", "points\" and flyText \"",
      "btnPresentME: a click at its centre lands on card"},
     "wait-not text=42.500.000 30\nadvance 1.2"},
    // The chess games end in the result notice over the board, once the player gives up;
    // my balance comes last. The notice holds every touch while it is up: a control it half
    // covers waits for it.
    {"cotuong",
     "wait contains=khach: 30\nwait text=Đồng ý 30",
     {},
     {"is covered by a CustomAlertView"},
     "wait text=999.900 Zel 30\nadvance 1.2"},
    {"coup",
     "wait contains=khach: 30\nwait text=Đồng ý 30",
     {},
     {"is covered by a CustomAlertView"},
     "wait text=999.900 Zel 30\nadvance 1.2"},
};

// The clock only moves when a script advances it, but the stub answers in its own time: a
// script waits (up to 30 s, for a loaded machine) for what the stub sends before it taps
// it or photographs it.
struct Sheet {
    const char* name;
    const char* open;  // the taps that open it from the screen the previous sheet left
    const char* read;  // the identifier of the panel the player reads ("": the whole screen)
    const char* close; // the taps that close it ("": it stays for the next)
    LayoutFindings layoutFindings;
};

constexpr Sheet kSheets[] = {
    // A bar's title too long for its line (the administrators') takes a second one.
    {"mailbox",
     "tap id=btnChat\nadvance 1\ntap id=btnGanDay\nwait id=showFriendInviteView 30\nadvance 1\n",
     "",
     "",
     {}},
    {"invitations", "tap id=showFriendInviteView\nadvance 1\n", "", "tap id=doCloseThisView#2\nadvance 1\n", {}},
    {"friend-profile",
     "tap id=doCloseThisView\nadvance 1\ntap text=an\nwait text=50.000.000 Zel 30\nadvance 1\n",
     "ProfileSubView",
     "tap id=doClose\nadvance 1\n",
     {}},
    {"settings", "tap id=clickSetting\nadvance 1\n", "actionSheetView", "tap id=btnClose_Clicked\nadvance 1\n", {}},
    {"lottery", "tap id=showLottoSubView\nadvance 1\n", "actionSheetView", "", {}},
    // The number board once its count-down has ticked: one count drawn, not two.
    {"lottery-board",
     "tap id=doShowLotto\nwait id=btnClosesIn 30\nadvance 1.2\n",
     "",
     "tap id=btnBack\nadvance 1\ntap id=slideOut\nadvance 1\n",
     {}},
    // A top-up row's title is bold 17 in 149 points: the stub's promotion card does not fit.
    {"shop-topup", "tap id=btnNapZel\nwait text=Thẻ gate 30\nadvance 1\n", "ShopView", "", {"khuyến mãi\" is cut"}},
    // Its dimming button lies under the form, where no tap lands: closed as its touch would.
    {"card-form", "tap text=Thẻ gate\nwait id=txfSeriesNumber 30\nadvance 1\n", "TopupZelByCardView", "", {}},
    {"shop-offers", "tap id=btnUuDai\nadvance 1\n", "ShopView", "", {"khuyến mãi\" is cut"}},
    // A tile's name is bold 10 in 57 points: the stub's item names do not fit.
    {"shop-items", "tap id=btnVatPham\nwait id=tile10000 30\nadvance 1\n", "ShopView", "", {"Vật phẩm "}},
    {"shop-history", "tap id=btnLichSu\nadvance 1\n", "ShopView", "tap id=doCloseThisView\nadvance 1\n", {}},
};

struct Look {
    bool tablet;
    const char* language;
};
constexpr Look kLooks[] = {{false, "vi"}, {false, "en"}, {true, "vi"}, {true, "en"}};

template <class Param> class ReadingShots : public StubDriveFixture, public ::testing::WithParamInterface<Param> {
protected:
    // The stub players at Tien Len and Phom play at once, at Bai Cao and Xi Zach at the
    // table's own pace: the pause there also scales a hand's 20 s and my turn's 15 s, which
    // a script held up by slow answers needs whole; a Cao Rua hand that the script leaves to
    // its time ends after 10 s. Bai Cao and Xi Zach deal the same cards at every run. The
    // stub tells when a result has gone out whole, and holds each result's last message back
    // 0.3 s: a reading that does not wait for it takes its picture before it every time, not
    // only when the stub happens to be slow.
    ReadingShots()
        : StubDriveFixture({{"KAVO_STUB_TIENLEN_PAUSE", "0.05"},
                            {"KAVO_STUB_PHOM_PAUSE", "0.05"},
                            {"KAVO_STUB_CAORUA_PAUSE", "10"},
                            {"KAVO_STUB_STAKE_SEED", "7"},
                            {"KAVO_STUB_TELL_RESULTS", "1"},
                            {"KAVO_STUB_RESULT_PAUSE", "300"}}) {}
    void SetUp() override {
        StubDriveFixture::SetUp();
        if (look().tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
        Resources::getInstance().setCurrentLanguage(look().language);
        Resources::getInstance().loadLanguage();
        // The mailbox and the shop are made once per process: made again for this device and
        // language, as a fresh start would (the fixture does so for the card form).
        if (!MessageView::getInstance()->view()->superview()) MessageView::getInstance()->setView(nullptr);
        ShopView::getInstance()->resetForTesting();
        DispatchRecord::shared().start();
    }
    void TearDown() override {
        DispatchRecord::shared().stop();
        StubDriveFixture::TearDown();
    }
    const Look& look() const { return std::get<1>(this->GetParam()); }
    // Runs `road`, writes <kind>-<name>-<look>.png and reads it (inside `panel` when one is named).
    void expectReadable(const std::string& road, const std::string& name, const std::string& panel,
                        const LayoutFindings& layoutFindings) {
        const std::string path = name + "-" + (look().tablet ? "tablet" : "phone") + "-" + look().language + ".png";
        auto result = drive(road + "shot " + path + "\n");
        // The script's last line was the picture, and nothing has run on this thread since.
        shownAtShot_ = DispatchRecord::shared().commands().size();
        ASSERT_TRUE(result.ok) << name << ": " << result.message << "\n" << log();
        EXPECT_TRUE(platform::ui::Image::fromFile(path)) << path;
        const platform::ui::View* only = panel.empty() ? nullptr : visibleViewWithIdentifier(panel);
        EXPECT_TRUE(panel.empty() || only) << name << ": " << panel;
        std::vector<std::string> findings = unreadableTexts(only);
        std::erase_if(findings, [&](const std::string& finding) {
            return std::any_of(layoutFindings.begin(), layoutFindings.end(),
                               [&](const char* own) { return own && finding.find(own) != std::string::npos; });
        });
        EXPECT_EQ(describe(findings), "") << path << keptAs(findings, path);
    }
    // Waits until the client has noted every message of the table's first result: the
    // stub tells the number on the connection of the result's last message once it has
    // sent it, and the client notes each message as it comes, ahead of what it shows. A
    // text on the screen may come with an earlier message of the result than its last.
    void waitForTheWholeResult() {
        while (!last_) {
            // A bound for a stub that never ends the hand, not a guess at its speed.
            const auto line = stub_->readLine(90);
            ASSERT_TRUE(line) << "the stub did not tell that the result went out whole";
            last_ = lastMessageOfResult(*line);
        }
        ASSERT_GT(*last_, 0u) << "the stub told a result it sent nothing of";
        const std::vector<int16_t>& shown = DispatchRecord::shared().commands();
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return shown.size() >= *last_; }, 60))
            << "the client had " << shown.size() << " messages of the " << *last_ << " up to the result's last";
    }
    // Fails when a message of the table's first result came after the last picture.
    void expectResultWholeInThePicture() {
        waitForTheWholeResult();
        if (::testing::Test::HasFatalFailure()) return;
        const size_t last = *last_;
        const std::vector<int16_t>& shown = DispatchRecord::shared().commands();
        if (shownAtShot_ >= last) return;
        std::string late;
        for (size_t at = shownAtShot_; at < last; ++at)
            late += (late.empty() ? "" : ", ") + std::to_string(shown[at]);
        ADD_FAILURE() << "photographed before the state was complete: " << last - shownAtShot_
                      << " message(s) of the result (commands " << late
                      << ") came after the picture, the last of them message " << last << " of the connection";
    }
    // N of the stub's "... went out whole with message N of the connection".
    static std::optional<size_t> lastMessageOfResult(const std::string& line) {
        const std::string marker = " went out whole with message ";
        const size_t at = line.find(marker);
        if (at == std::string::npos) return std::nullopt;
        return size_t(std::strtoull(line.c_str() + at + marker.size(), nullptr, 10));
    }
    size_t shownAtShot_ = 0;
    std::optional<size_t> last_; // the number of the result's last message, once the stub told it
    // A picture with findings is kept under a name of its own (failed-<n>-<picture>), which
    // no later pass of the same reading writes over.
    static std::string keptAs(const std::vector<std::string>& findings, const std::string& path) {
        if (findings.empty()) return "";
        for (int n = 1; n < 1000; ++n) {
            const std::string kept = "failed-" + std::to_string(n) + "-" + path;
            if (std::filesystem::exists(kept)) continue;
            std::error_code failed;
            std::filesystem::copy_file(path, kept, failed);
            return failed ? ", not kept: " + failed.message() : ", kept as " + kept;
        }
        return "";
    }
    // The texts a script names in Vietnamese (the stub's among them), in the language chosen;
    // an amount's digits are grouped with "," in English.
    std::string inTheLanguage(std::string script) const {
        if (std::string(look().language) == "vi") return script;
        script = std::regex_replace(script, std::regex(R"((\d)\.(?=\d{3}(\D|$)))"), "$1,");
        return replaced(std::move(script), {{"Đồng ý", Resources::getInstance().textWithKey("KAVO_OK")},
                                            {" nút", " points"},
                                            {"Không gửi được", "Nothing to lay off onto"},
                                            {"Thẻ gate", "gate card"}});
    }
    static std::string replaced(std::string script, const std::vector<std::pair<std::string, std::string>>& changes) {
        for (const auto& [from, to] : changes)
            for (size_t at = script.find(from); !from.empty() && at != std::string::npos;
                 at = script.find(from, at + to.size()))
                script.replace(at, from.size(), to);
        return script;
    }
};

using EndOfHandShots = ReadingShots<std::tuple<Table, Look>>;
using SheetShots = ReadingShots<std::tuple<bool, Look>>;

TEST_P(EndOfHandShots, EveryTextOfTheFirstResultReadsWhole) {
    const Table& table = std::get<0>(GetParam());
    std::string script = stubDriveScript(std::string(table.game) + ".drive");
    const size_t at = script.find(std::string("\n") + table.result + "\n");
    // A script that no longer holds the line would be played whole, past the first result.
    ASSERT_NE(at, std::string::npos) << table.result;
    script.resize(at + std::string(table.result).size() + 2);
    if (table.pause.first) script = replaced(script, {{table.pause.first, table.pause.second}});
    launch();
    if (table.clockedFrom) {
        auto [before, after] = splitScriptAt(script, table.clockedFrom);
        ASSERT_TRUE(drives(inTheLanguage(before)));
        ASSERT_TRUE(drivesWaitingOnTheClock(inTheLanguage(after)));
    } else {
        ASSERT_TRUE(drives(inTheLanguage(script)));
    }
    // Read once the whole result is in: its last message may come after a text that the
    // reading's own steps wait for.
    waitForTheWholeResult();
    if (HasFatalFailure()) return;
    // The result's bubbles and points, and the amounts flying one after another.
    expectReadable(inTheLanguage(table.read) + "\n", std::string("end-") + table.game, "", table.layoutFindings);
    if (HasFatalFailure()) return;
    expectResultWholeInThePicture();
}

TEST_P(SheetShots, EveryTextOfEverySheetReadsWhole) {
    launch();
    auto signedIn = drive(splitScriptAt(stubDriveScript("signin.drive"), "tap id=btnTLMN").first);
    ASSERT_TRUE(signedIn.ok) << signedIn.message << "\n" << log();
    // The players online fill the lobby's list, where a friend's profile is opened from.
    ASSERT_TRUE(drives("wait text=an 30\n"));
    for (const Sheet& sheet : kSheets) {
        expectReadable(inTheLanguage(sheet.open), std::string("sheet-") + sheet.name, sheet.read, sheet.layoutFindings);
        if (HasFatalFailure()) return; // the next sheet opens from where this one left
        if (std::string(sheet.name) == "card-form") TopupZelByCardView::getInstance()->hideThisView();
        auto closed = drive(sheet.close);
        ASSERT_TRUE(closed.ok) << sheet.name << ": " << closed.message << "\n" << log();
    }
}

std::string lookName(const Look& look) {
    return std::string(look.tablet ? "Tablet" : "Phone") + look.language;
}

INSTANTIATE_TEST_SUITE_P(Tables, EndOfHandShots,
                         ::testing::Combine(::testing::ValuesIn(kTables), ::testing::ValuesIn(kLooks)),
                         [](const auto& info) {
                             return std::get<0>(info.param).game + lookName(std::get<1>(info.param));
                         });
INSTANTIATE_TEST_SUITE_P(Looks, SheetShots, ::testing::Combine(::testing::Values(true), ::testing::ValuesIn(kLooks)),
                         [](const auto& info) { return lookName(std::get<1>(info.param)); });

} // namespace
} // namespace kavo::test
