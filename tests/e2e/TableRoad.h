#pragma once

#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Application.h"
#include "table/cards/BCCardView.h"
#include "table/deal/PeekController.h"
#include "tests/support/Bytes.h"
#include "tests/support/TestPortal.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kavo::test {

// A seat's row of a join: the player's id, then, unless the seat is empty (-1), the name,
// 500000 money, level 1, 300 and whether the player is ready.
inline Bytes& seatRow(Bytes& bytes, int32_t id, const std::string& name = "", bool ready = false) {
    bytes.int32(id);
    if (id == -1) return bytes;
    return bytes.utf(name).int64(500000).int16(1).int32(300).boolean(ready);
}

// The lobby accepts every game the player chooses on the grid (61).
inline void acceptGameChoices(TestPortal& portal) {
    portal.onCommand(
        61, [](Message& request, TestPortal::Reply& reply) { reply.send(61, Bytes().byte(request.readByte())); });
}

// A board list's row (2700): where the board is, whether a password locks it, its stake,
// its money limit, whether a game runs and its seats.
struct BoardRow {
    int8_t room;
    int8_t board;
    bool locked;
    int32_t money;
    int32_t limit;
    bool playing;
    int8_t players;
    int8_t seats;
};

inline Message boardListReply(int32_t maxBet, const std::vector<BoardRow>& rows) {
    Bytes reply;
    reply.int32(maxBet).int32(int32_t(rows.size()));
    for (const BoardRow& row : rows) {
        reply.byte(row.room).byte(row.board).boolean(row.locked).int32(row.money).int32(row.limit);
        reply.boolean(row.playing).byte(row.players).byte(row.seats).byte(0);
    }
    return reply.message(2700);
}

// Every board list request is answered with these rows.
inline void answerBoardList(TestPortal& portal, int32_t maxBet, std::vector<BoardRow> rows) {
    portal.onCommand(2700,
                     [maxBet, rows](Message&, TestPortal::Reply& reply) { reply.send(boardListReply(maxBet, rows)); });
}

// What the lobby answers on the road to one table: the chosen game is accepted and its
// board list holds one board, room 2, board 7, stake 1000, with `players` of `seats`
// places taken and no password.
inline void answerOneBoard(TestPortal& portal, int8_t players, int8_t seats) {
    acceptGameChoices(portal);
    answerBoardList(portal, 100000, {{2, 7, false, 1000, 10000, false, players, seats}});
}

// A client on the manual clock against the test portal at a table: what every table's road
// test does with the server and the screens.
class TableRoadFixture : public ClientFixture {
protected:
    // The server's reply: once it returns, its main-thread twin has run, and what it
    // started on the manual clock at no delay.
    void send(const Message& message) {
        ASSERT_TRUE(portal().sendToClient(message));
        ASSERT_TRUE(clientCaughtUp()) << "the client did not read the reply " << message.commandId();
        advance(0);
    }
    // The body of the last request of the command the portal has got since it was
    // cleared, once the client's requests so far have reached it (empty when none).
    std::vector<uint8_t> lastSent(int16_t command) {
        EXPECT_TRUE(portalCaughtUp()) << "the client's requests did not reach the portal";
        const auto all = portal().messages(command);
        return all.empty() ? std::vector<uint8_t>{} : all.back().body;
    }
    // How many requests of the command the portal has got since it was cleared, once the
    // client's requests so far have reached it.
    size_t sentCount(int16_t command) {
        EXPECT_TRUE(portalCaughtUp()) << "the client's requests did not reach the portal";
        return portal().messages(command).size();
    }
    void run(const std::string& script) { ASSERT_TRUE(drives(script)); }
    // Signs in as "Khach" (capitals as typed), runs `onTheGrid` there, opens a board list by
    // the grid's `gameButton` (the grid scrolled down first when `scrolled`) and taps the
    // board of 1000 zel.
    void signInAndTapTheBoard(const std::string& gameButton, bool scrolled = false, const std::string& onTheGrid = "") {
        platform::UserDefaults::standard().setString("Khach", "KAVO_LOGIN_USERNAME");
        ASSERT_TRUE(signInByReply());
        run(std::string("screen GameView 30\nadvance 0.5\n") + onTheGrid +
            (scrolled ? "drag id=scrollView 0 -300\nadvance 1\n" : "") + "tap id=" + gameButton +
            "\nscreen BoardView 30\nadvance 0.5\nwait text=1.000 zel 30\ntap text=1.000 zel");
    }
    // How often the sound file has played since the record was cleared.
    static size_t played(const std::string& file) {
        const auto all = platform::SystemSound::played();
        return size_t(std::count(all.begin(), all.end(), file));
    }
    // Escape on an open peek ends it as its own close does: the card back in my hand
    // (face down again where the peek turned nothing over), nothing sent, the player
    // still at the table and asked nothing.
    void expectEscapeEndsThePeek(KavoViewController& table, PeekController& peek, bool faceDown) {
        ASSERT_TRUE(peek.isPeeking());
        const auto card = peek.backCard();
        const platform::ui::Point home = peek.cover()->backPoint();
        portal().clearMessages();
        platform::ui::Application::shared().dispatchKey(platform::ui::Key::Escape);
        advance(PeekController::kZoomSeconds + 0.1);
        EXPECT_FALSE(peek.isPeeking());
        EXPECT_EQ(card->center(), home);
        EXPECT_EQ(card->cover()->superview() == card.get(), faceDown);
        EXPECT_EQ(dialogText(), "") << "no leave question";
        EXPECT_EQ(KavoOnlineAppDelegate::getInstance().topViewController().get(), &table) << "still at the table";
        EXPECT_TRUE(portal().messages(21).empty() && portal().messages(14).empty());
    }
};

} // namespace kavo::test
