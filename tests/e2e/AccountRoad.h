#pragma once

#include "app/KavoOnlineAppDelegate.h"
#include "lobby/GameView.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Screen.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace kavo::test {

// A signed-in client on the game grid, on the manual clock against the test portal, for
// the roads that start from the grid's buttons (rankings, profile, panels).
class AccountRoad : public ClientFixture {
protected:
    void signIn() {
        ASSERT_TRUE(signInByReply());
        advance(0.4);
        portal().clearMessages();
    }
    template <class T> static bool topIs() {
        return bool(std::dynamic_pointer_cast<T>(KavoOnlineAppDelegate::getInstance().topViewController()));
    }
    template <class T> static std::shared_ptr<T> top() {
        return std::dynamic_pointer_cast<T>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    // Runs a script and fails the test with the driver's log when it stops.
    void road(const std::string& script) { ASSERT_TRUE(drives(script)); }
    // Waits for the portal to hold `count` messages of a command.
    [[nodiscard]] bool waitForCount(int16_t commandId, size_t count) {
        return platform::RunLoop::main().runUntil([&] { return portal().messages(commandId).size() >= count; }, 30);
    }
    // Where a road's pictures go: build/test/.../screenshots/<name>-<idiom>.png.
    static std::string shotPath(const std::string& name, bool tablet) {
        const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
        std::filesystem::create_directories(folder);
        return (folder / (name + (tablet ? "-tablet.png" : "-phone.png"))).string();
    }
};

// What the own profile's record (1005) says that play changes.
struct PlayedRecord {
    int64_t money = 125000;
    int32_t percent = 40; // of the way to the next level
    std::string playingTime = "5 giờ";
};

// The own profile's record (1005) of the player `id`: "khach42", named "Khách Bốn Hai", with
// the money, level and playing time of `played`, born 17/05/1990 in `province` (1, "Hà
// Nội"), living at "1 Lê Lợi".
inline Message ownRecord(int32_t id, const PlayedRecord& played = {},
                         const std::pair<int8_t, std::string>& province = {1, "Hà Nội"}) {
    Bytes record;
    record.int32(id).utf("khach42").int64(played.money).utf("Khách Bốn Hai").byte(1).boolean(true);
    record.int16(1990).utf("1 Lê Lợi").utf("0123").boolean(false).utf("").utf("0909");
    record.byte(province.first).utf(province.second);
    record.byte(5).byte(17).boolean(true).int32(played.percent).boolean(false).utf(played.playingTime).int32(1);
    return record.message(1005);
}

// The portal answers the own profile's record (1005) with ownRecord.
inline void answerOwnRecord(TestPortal& portal, PlayedRecord played = {},
                            std::pair<int8_t, std::string> province = {1, "Hà Nội"}) {
    portal.onCommand(1005, [played, province](Message& request, TestPortal::Reply& reply) {
        reply.send(ownRecord(request.readInt(), played, province));
    });
}

} // namespace kavo::test
