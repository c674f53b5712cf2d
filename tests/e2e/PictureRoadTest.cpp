// The pictures the server sends, across connections: one asked of a connection that ended
// before it answered is asked again of the next one, and shown.
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "lobby/GameView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ImageView.h"
#include "tests/support/Bytes.h"
#include "tests/support/SourceDir.h"
#include "tests/support/client/ClientTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

// The avatar the sign-in reply gives the player.
constexpr int32_t kAvatar = 3;

class PictureRoad : public ClientFixture {
protected:
    // From the log-in screen to the game grid, through the form and the server choice.
    ::testing::AssertionResult signIn() {
        return drives("screen LoginView 30\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                      "type id=txfPassword bimat\n" +
                      signInFromTheForm());
    }
    // The form, still filled in, signs in again.
    static std::string signInFromTheForm() {
        return "tap id=btnSignIn\nwait text=" + std::string(ClientWorld::kServerName) +
               " 30\ntap text=" + ClientWorld::kServerName + "\nscreen GameView 30\nadvance 0.5\n";
    }
    // The requests for the full picture of `pictureId` the portal received.
    size_t picturesAsked(int32_t pictureId) const {
        size_t count = 0;
        for (const auto& message : ClientWorld::get().portal().messages(79))
            if (message.body.size() == 5 && message.body[0] == 4 &&
                (int32_t(message.body[1]) << 24 | message.body[2] << 16 | message.body[3] << 8 | message.body[4]) ==
                    pictureId)
                ++count;
        return count;
    }
    static const ui::ImageView* gridAvatar() {
        const auto selector = platform::automation::Selector::parse("id=playerAvatar");
        return dynamic_cast<const ui::ImageView*>(platform::automation::ViewQuery::find(*selector));
    }
};

TEST_F(PictureRoad, AnAvatarAskedOfAConnectionThatEndedUnansweredIsAskedOfTheNextAndShown) {
    // A picture of the bundle that is not the placeholder shown while one is awaited.
    std::ifstream file(sourceDir() + "/resources/images/1.png", std::ios::binary);
    const ByteVector png{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(png.empty());

    launch();
    ASSERT_TRUE(signIn());
    // The grid asks for his avatar; the connection ends before the server answered.
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return picturesAsked(kAvatar) == 1; }, kStateWait));
    portal().closeClient();
    // Back at the log-in screen and told, he signs in again from the form left open.
    ASSERT_TRUE(drives("screen LoginView 30\nadvance 0.5\n"));
    EXPECT_FALSE(dialogText().empty()) << "he is told";
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\nadvance 0.5\n"));

    // This time the server answers; the clock has not moved, so no wait for a retry helps.
    portal().onCommand(79, [png](Message& request, TestPortal::Reply& reply) {
        if (request.readByte() != 4) return;
        const int32_t id = request.readInt();
        reply.send(79, Bytes().byte(4).int32(id).int16(int16_t(png.size())).raw(png));
    });
    ASSERT_TRUE(drives(signInFromTheForm()));
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return picturesAsked(kAvatar) == 2; }, kStateWait))
        << "the avatar is asked for again on the new connection";
    const bool shown = platform::RunLoop::main().runUntil(
        [] {
            const auto stored = Resources::getInstance().getExistedImageWithKey(kAvatar);
            const auto* view = gridAvatar();
            return stored && view && view->image() && view->image()->pixelData() == stored->pixelData();
        },
        kStateWait);
    EXPECT_TRUE(shown) << "his avatar is shown on the grid\n" << log();
}

} // namespace
} // namespace kavo::test
