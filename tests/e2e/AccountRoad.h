#pragma once

#include "app/KavoOnlineAppDelegate.h"
#include "lobby/GameView.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Screen.h"
#include "tests/support/client/ClientTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

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
    void road(const std::string& script) {
        auto result = drive(script);
        ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    }
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
// 17/05/1990 in province 1, `percent` of the way to the next level.
inline void answerOwnRecord(TestPortal& portal, int32_t percent = 40) {
    portal.onCommand(1005, [percent](Message& request, TestPortal::Reply& reply) {
        Message record(1005);
        record.writeInt(request.readInt());
        record.writeUTF("khach42");
        record.writeLong(125000);
        record.writeUTF("Khách Bốn Hai");
        record.writeByte(1);
        record.writeBool(true);
        record.writeShort(1990);
        record.writeUTF("1 Lê Lợi");
        record.writeUTF("0123");
        record.writeBool(false);
        record.writeUTF("");
        record.writeUTF("0909");
        record.writeByte(1);
        record.writeUTF("Hà Nội");
        record.writeByte(5);
        record.writeByte(17);
        record.writeBool(true);
        record.writeInt(percent);
        record.writeBool(false);
        record.writeUTF("5 giờ");
        record.writeInt(1);
        reply.send(record);
    });
}

} // namespace kavo::test
