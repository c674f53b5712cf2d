// A language switch reaches the sheets and screens that are made once and kept for the
// whole run: each is opened in Vietnamese, the player signs out, switches the flag on the
// log-in screen, signs in again and opens each again, on the manual clock against the
// test portal.
#include "account/ShopView.h"
#include "account/TopupZelByCardView.h"
#include "platform/automation/ViewQuery.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/ShownLanguage.h"

#include <atomic>
#include <map>
#include <memory>

namespace kavo::test {
namespace {

struct MadeOnce {
    const char* name;
    const char* open;  // from the game grid
    const char* close; // back to the game grid
    // What a click on the dimmed screen beside a panel does, where no control is there
    // to tap.
    void (*clickBeside)() = nullptr;
};

// The server choice is made once too: every sign-in opens it.
const MadeOnce kMadeOnce[] = {
    {"settings", "tap id=clickSetting\nadvance 0.5\nwait id=tblSetting", "tap id=btnClose_Clicked\nadvance 0.5"},
    {"feedback", "tap id=clickSetting\nadvance 0.5\ntap id=settingRow1\nadvance 0.5\nwait id=txtContent",
     "tap id=onCancel\nadvance 0.5"},
    {"shop", "tap id=btnNapZel\nwait text=Gate card", "tap id=doCloseThisView"},
    {"card form", "tap id=btnNapZel\nwait text=Gate card\ntap text=Gate card\nwait id=txfSeriesNumber",
     "tap id=doCloseThisView", [] { TopupZelByCardView::getInstance()->hideThisView(); }},
    {"mailbox", "tap id=btnChat\nadvance 0.5\nwait id=onRemoveAll", "tap id=doCloseThisView\nadvance 0.5"},
    {"add friend", "tap id=btnChat\nadvance 0.5\ntap id=btnAddFriend\nadvance 0.5\nwait id=txtName",
     "tap id=btnCancel\nadvance 0.5\ntap id=doCloseThisView\nadvance 0.5"},
};

class LanguageSwitchRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        // The server words the shop's promotion rows in the language told after the sign-in.
        auto english = std::make_shared<std::atomic<bool>>(false);
        portal().onCommand(2800, [english](Message& request, TestPortal::Reply&) {
            *english = request.readUTF().find("\"en\"") != std::string::npos;
        });
        portal().onCommand(44, [english](Message&, TestPortal::Reply& reply) {
            Message channels(44);
            channels.writeByte(2); // a scratch card
            channels.writeByte(1);
            for (const char* field : {"Gate card", "", ""})
                channels.writeUTF(field);
            channels.writeByte(8); // a promotion card
            channels.writeByte(5);
            for (const char* field : {*english ? "Promotion card" : "Thẻ khuyến mãi", "", ""})
                channels.writeUTF(field);
            reply.send(channels);
        });
        portal().onCommand(72, [english](Message& request, TestPortal::Reply& reply) {
            if (request.readByte() != 13) return;
            reply.send(72, Bytes().byte(13).utf(*english ? "Cards give 20% more" : "Thẻ được thêm 20%"));
        });
    }
    void TearDown() override {
        ShopView::getInstance()->resetForTesting(); // the next test's shop asks for its rows again
        ClientFixture::TearDown();
    }
    void run(const std::string& script) { ASSERT_TRUE(drives(script)); }
    // Signs in through the form and the server choice, and opens each sheet made once:
    // what every one of them showed.
    std::map<std::string, std::vector<std::string>> signInAndOpenEach() {
        std::map<std::string, std::vector<std::string>> shown;
        run(std::string("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                        "type id=txfPassword bimat\ntap id=btnSignIn\nwait text=") +
            ClientWorld::kServerName);
        shown["server choice"] = platform::automation::ViewQuery::visibleTexts();
        run(std::string("tap text=") + ClientWorld::kServerName + "\nscreen GameView\nadvance 0.5");
        for (const MadeOnce& sheet : kMadeOnce) {
            run(sheet.open);
            shown[sheet.name] = platform::automation::ViewQuery::visibleTexts();
            if (sheet.clickBeside) sheet.clickBeside();
            run(sheet.close);
        }
        return shown;
    }
};

TEST_F(LanguageSwitchRoad, SheetsMadeOnceReadTheLanguageChosenSinceTheyWereMade) {
    launch();
    for (const auto& [name, texts] : signInAndOpenEach())
        EXPECT_FALSE(vietnameseTexts(texts).empty()) << name << " first opens in Vietnamese";
    run("tap id=clickSetting\nadvance 0.5\ntap id=settingRow4\nscreen LoginView\nadvance 1\n"
        "tap id=btnDelete\ntap id=btnChangeLanguage\nexpect text=Sign in");
    for (const auto& [name, texts] : signInAndOpenEach())
        EXPECT_EQ(vietnameseTexts(texts), std::vector<std::string>{}) << name << " after the switch to English";
}

} // namespace
} // namespace kavo::test
