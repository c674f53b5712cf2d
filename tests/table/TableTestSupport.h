#pragma once

#include "app/KavoOnlineAppDelegate.h"
#include "platform/runtime/Clock.h"
#include "platform/ui/Screen.h"
#include "tests/support/Bytes.h"
#include "tests/support/RecordedMessage.h"
#include "tests/support/RecordingSession.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace kavo::test {

// Stands in for the socket client: keeps what the requests send.
class SentMessages : public RecordingSession {
public:
    // The only message sent with that command; a failure when there is not exactly one.
    ::testing::AssertionResult sentOnce(int16_t commandId, const ByteVector& body) const;
};

// A player's record as a table keeps it (TienLenPlayer at the card tables, ChessPlayer at
// the chess tables) with that id, name, money, experience and ready flag.
template <class Record>
std::shared_ptr<Record> playerRecord(int32_t id, const std::string& name, int64_t money, int32_t exp = 0,
                                     int8_t ready = 0) {
    auto record = std::make_shared<Record>();
    record->setIDDB(id);
    record->setName(name);
    record->setMoney(money);
    record->setExp(exp);
    record->setIsReady(ready);
    return record;
}

// The client launched headless on the manual clock with a plain lobby screen at the
// bottom of the navigation stack, in a fresh data folder, in English, with requests
// going to `client` and no table kept.
class TableTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The device the client is launched as (a phone unless a test says otherwise).
    virtual platform::ui::Idiom idiom() const { return platform::ui::Idiom::Phone; }
    // The language the client speaks (English unless a test says otherwise).
    virtual const char* language() const { return "en"; }
    // Writes the screen now to the PNG file `screen` for a person to look at (the window's
    // size), and fails when a text a player must read on it (or, with `only`, inside that
    // view) overlaps another, is covered by a picture or a bubble drawn over it, or is cut.
    // A finding that holds one of `forced` is what the table's own fixed geometry leaves covered.
    static void expectReadable(const std::string& screen, const platform::ui::View* only = nullptr,
                               const std::vector<std::string>& forced = {});
    // One unread mail in the mailbox, so the screens show their unread badge.
    static void receiveUnreadMail();
    // A portal reply as the server sends it: through the reply dispatcher, then the
    // main-thread twin it hands its values to.
    static void receiveReply(int16_t command, const Bytes& body);
    // The server tells the table on top that `from` gave `to` the item (reply 101/7), the
    // item's picture (reply 79/4) at hand, and the gift's flight ends at the seat.
    static void receiveGift(int32_t from, int32_t item, int32_t to);

    // Pushes without animation and runs what that posted.
    void push(const platform::ui::ViewControllerPtr& screen);
    platform::ui::ViewControllerPtr top() const;
    // Runs a driver script (tap text=..., expect text=...); fails the test on an error.
    void drive(const std::string& script);
    // Presses, with a finger, the button with that title on the dialog on screen.
    void press(const std::string& title);
    // The message of the dialog on screen ("" when none).
    std::string dialogText() const;
    static std::string text(const char* key);
    static void runMainThread();
    // Starts the application again on `device`, with a plain screen at the bottom.
    static void relaunchAs(platform::ui::Idiom device);

    SentMessages client;

private:
    static void launch();
    std::string dataFolder_;
    std::string previousBundle_;
    std::unique_ptr<platform::ScopedManualClock> clock_;
};

// A table's pictures in Vietnamese on each device the test is run for (its parameter).
class TableShotsTest : public TableTest, public ::testing::WithParamInterface<platform::ui::Idiom> {
protected:
    const char* language() const override { return "vi"; }
    platform::ui::Idiom idiom() const override { return GetParam(); }
    // The device's name in the pictures' file names.
    std::string device() const { return GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone"; }
};

} // namespace kavo::test
