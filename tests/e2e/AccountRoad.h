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
    bool waitForCount(int16_t commandId, size_t count) {
        return platform::RunLoop::main().runUntil([&] { return portal().messages(commandId).size() >= count; }, 5);
    }
    // Where a road's pictures go: build/test/.../screenshots/<name>-<idiom>.png.
    static std::string shotPath(const std::string& name, bool tablet) {
        const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
        std::filesystem::create_directories(folder);
        return (folder / (name + (tablet ? "-tablet.png" : "-phone.png"))).string();
    }
};

// The portal answers the own profile's record (1005): "khach42" with 125,000 Zel, born
// 17/05/1990 in `province` (1, "Hà Nội"), `percent` of the way to the next level.
inline void answerOwnRecord(TestPortal& portal, int32_t percent = 40,
                            std::pair<int8_t, std::string> province = {1, "Hà Nội"}) {
    portal.onCommand(1005, [percent, province](Message& request, TestPortal::Reply& reply) {
        Bytes record;
        record.int32(request.readInt()).utf("khach42").int64(125000).utf("Khách Bốn Hai").byte(1).boolean(true);
        record.int16(1990).utf("1 Lê Lợi").utf("0123").boolean(false).utf("").utf("0909");
        record.byte(province.first).utf(province.second);
        reply.send(1005, record.byte(5).byte(17).boolean(true).int32(percent).boolean(false).utf("5 giờ").int32(1));
    });
}

} // namespace kavo::test
