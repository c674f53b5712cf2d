// Invitations on the game grid as the server sends them (reply 74), against the test portal
// on the manual clock: a question is asked while none is on screen, however the last one
// went (answered, or taken away by a notice that came after it).
#include "app/UIController.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>
#include <string>

namespace kavo::test {
namespace {

constexpr int8_t kTienLen = 3;

// Reply 74: Tien Len, room 2, board 7, no password, the text, level room 1, inviter 8.
Message invitation(const std::string& text) {
    return Bytes().byte(kTienLen).byte(2).byte(7).utf("").utf(text).byte(1).int32(8).message(74);
}

class InvitationRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(signInToGameGrid()) << log();
    }
    // The server's reply, then the player's name (2306) as a mark sent after it: once the
    // name shows, the twins of everything before it have run.
    void send(const Message& message) {
        ASSERT_TRUE(portal().sendToClient(message));
        const std::string mark = "mark" + std::to_string(++marks_);
        ASSERT_TRUE(portal().sendToClient(Bytes().int32(ClientWorld::kPlayerId).utf(mark).message(2306)));
        ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return UIController::myInfo()->name() == mark; }, 30));
        advance(0.1);
    }
    // The invitation's question on screen: its text, Cancel and OK, the invitation's action.
    void expectAsked(const std::string& text) {
        EXPECT_EQ(dialogText(), text);
        EXPECT_EQ(openDialogCode(), UIController::kActionInvitation);
        EXPECT_EQ(UIController::kindOfDialog(), 1);
        EXPECT_TRUE(drive("expect text=" + ClientFixture::text("KAVO_cancel") +
                          "\nexpect text=" + ClientFixture::text("KAVO_OK") + "\n")
                        .ok);
    }

    int marks_ = 0;
};

// A notice that comes while the question is up takes its place; once the notice is
// answered, the next invitation asks its question. Each kind of notice the server sends.
TEST_F(InvitationRoad, AnInvitationAfterANoticeThatTookAQuestionAwayIsAsked) {
    const std::vector<std::pair<const char*, Message>> notices = {
        {"a server notice (45 sub 0)", Bytes().byte(0).utf("Bảo trì lúc 22 giờ").message(45)},
        {"a refusal (10)", Bytes().utf("Bàn đã đầy").message(10)}};
    int n = 0;
    for (const auto& [name, notice] : notices) {
        SCOPED_TRACE(name);
        const std::string first = "an mời bạn " + std::to_string(++n);
        send(invitation(first));
        expectAsked(first);

        send(notice);
        EXPECT_NE(dialogText(), first) << "the notice took the question's place";
        EXPECT_EQ(UIController::kindOfDialog(), 0);
        ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\n"));
        EXPECT_EQ(dialogText(), "");

        const std::string second = "binh mời bạn " + std::to_string(n);
        send(invitation(second));
        expectAsked(second);
        UIController::closeDialog();
    }
    EXPECT_TRUE(portal().messages(8).empty()) << "no board was joined";
}

// While a question is up, another invitation is dropped; once it is answered either way,
// the next one asks.
TEST_F(InvitationRoad, AnInvitationWhileOneIsAskedIsDroppedAndTheNextAfterAnAnswerIsAsked) {
    send(invitation("an mời bạn"));
    send(invitation("binh mời bạn"));
    expectAsked("an mời bạn");

    // Cancel asks whether to stop invitations; "no" keeps them.
    ASSERT_TRUE(drives("tap text=" + text("KAVO_cancel") + "\ntap text=" + text("KAVO_no") + "\n"));
    EXPECT_EQ(dialogText(), "");
    send(invitation("chi mời bạn"));
    expectAsked("chi mời bạn");

    // OK joins the board.
    ASSERT_TRUE(drives("tap text=" + text("KAVO_OK") + "\n"));
    ASSERT_TRUE(waitForCommand(8));
    EXPECT_EQ(dialogText(), "");
    send(invitation("dung mời bạn"));
    expectAsked("dung mời bạn");
}

} // namespace
} // namespace kavo::test
