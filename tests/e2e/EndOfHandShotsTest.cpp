// What the player reads when a hand ends: each card table's drive script played against
// the portal stub up to its first result (the bubbles with the scores, the points, the
// flying amounts, the Continue button), on the phone and the tablet, in Vietnamese and
// English, written into the build folder (end-<game>-<phone|tablet>-<vi|en>.png) and read
// by the overlap test.
#include "app/Resources.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ReadableScreen.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace kavo::test {
namespace {

struct Table {
    const char* game;
    const char* script;
    const char* result; // the script's line at which the first hand's result is on the table
    // On the manual clock a script's pause moves the clock by itself; the stub's players
    // take their own time meanwhile. `pause` is what one of the script's pauses stands for
    // at a real table ("sleep 0.5" -> the clock moves as far as a round of three players).
    std::pair<const char*, const char*> pause;
    // What a Part's own geometry leaves unreadable at this table: a finding that holds
    // one of these texts is the Part's, not the layout's.
    std::array<const char*, 2> partsOwn;
};

constexpr Table kTables[] = {
    {"tienlen", "tienlen.drive", "wait id=btnStart 30", {"\nadvance 0.5\n", "\nadvance 3\n"}, {}},
    // The shown hands land on the line of the bubbles and may cover them.
    {"tienlenmb",
     "tienlenmb.drive",
     "wait id=btnStart 30",
     {"\nadvance 0.5\n", "\nadvance 3\n"},
     {"is covered by the picture card"}},
    {"phom", "phom.drive", "wait id=btnStart 15", {}, {}},
    {"baicao", "baicao.drive", "wait id=btnStart 30", {}, {}},
    // The system bubble stands in the middle of the table, on the deck.
    {"xizach", "xizach.drive", "wait id=btnStart 30", {}, {"btnBaiTy is covered by"}},
    // The deal comes through the table's queue, which runs on the clock. The rising texts
    // stand at fixed points beside each seat, and the other players' cards, grown at the
    // result, lie where the layout of their rows puts them.
    {"maubinh",
     "maubinh.drive",
     "expect id=lblFlyText",
     {"\nwait id=btnAutoSelected", "\nsleep 1\nadvance 1\nwait id=btnAutoSelected"},
     {"is covered by lblFlyText", "is covered by the picture a ImageView"}},
    {"caorua", "caorua.drive", "wait contains= nút 15", {}, {}},
};

struct Look {
    bool tablet;
    const char* language;
};

class EndOfHandShots : public StubDriveFixture, public ::testing::WithParamInterface<std::tuple<Table, Look>> {
protected:
    // The stub players at Tien Len and Phom think a fifth of a second.
    EndOfHandShots() : StubDriveFixture({{"KAVO_STUB_TIENLEN_PAUSE", "0.2"}, {"KAVO_STUB_PHOM_PAUSE", "0.2"}}) {}
    void SetUp() override {
        StubDriveFixture::SetUp();
        if (look().tablet) platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
        Resources::getInstance().setCurrentLanguage(look().language);
        Resources::getInstance().loadLanguage();
    }
    const Table& table() const { return std::get<0>(GetParam()); }
    const Look& look() const { return std::get<1>(GetParam()); }
    // The script up to its first result, with the dialog's button and the stub's score
    // texts in the language chosen.
    std::string toTheFirstResult() const {
        std::string script = stubDriveScript(table().script);
        const size_t at = script.find(std::string("\n") + table().result + "\n");
        if (at != std::string::npos) script.resize(at + std::string(table().result).size() + 2);
        std::vector<std::pair<std::string, std::string>> changes;
        if (table().pause.first) changes.emplace_back(table().pause.first, table().pause.second);
        if (std::string(look().language) != "vi") {
            changes.emplace_back("Đồng ý", Resources::getInstance().textWithKey("KAVO_OK"));
            changes.emplace_back(" nút", " points");
        }
        for (const auto& [from, to] : changes)
            for (size_t found = script.find(from); found != std::string::npos;
                 found = script.find(from, found + to.size()))
                script.replace(found, from.size(), to);
        return script;
    }
};

TEST_P(EndOfHandShots, EveryTextOfTheFirstResultReadsWhole) {
    const std::string path = std::string("end-") + table().game + "-" + (look().tablet ? "tablet" : "phone") + "-" +
                             look().language + ".png";
    launch();
    // The result's bubbles and points, once the amounts have flown (two losses meet in the
    // middle of the table, where the amounts' flights end).
    auto result = drive(toTheFirstResult() + "advance 1.2\nshot " + path + "\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    EXPECT_TRUE(platform::ui::Image::fromFile(path)) << path;
    std::vector<std::string> findings = unreadableTexts();
    std::erase_if(findings, [this](const std::string& finding) {
        return std::any_of(table().partsOwn.begin(), table().partsOwn.end(),
                           [&](const char* own) { return own && finding.find(own) != std::string::npos; });
    });
    EXPECT_EQ(describe(findings), "") << path;
}

INSTANTIATE_TEST_SUITE_P(Tables, EndOfHandShots,
                         ::testing::Combine(::testing::ValuesIn(kTables),
                                            ::testing::Values(Look{false, "vi"}, Look{false, "en"}, Look{true, "vi"},
                                                              Look{true, "en"})),
                         [](const auto& info) {
                             const Look& look = std::get<1>(info.param);
                             return std::string(std::get<0>(info.param).game) + (look.tablet ? "Tablet" : "Phone") +
                                    look.language;
                         });

} // namespace
} // namespace kavo::test
