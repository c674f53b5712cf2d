#pragma once

#include "tests/support/TestPortal.h"
#include "tools/portal-stub/CardTableStub.h"
#include "tools/portal-stub/StubAccount.h"
#include "tools/portal-stub/StubCaoRua.h"
#include "tools/portal-stub/StubCoTuong.h"
#include "tools/portal-stub/StubCoUp.h"
#include "tools/portal-stub/StubMauBinh.h"
#include "tools/portal-stub/StubPhom.h"
#include "tools/portal-stub/StubShop.h"
#include "tools/portal-stub/StubStakeTables.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace portalstub {

// The stub's game server: it accepts the client information and any user name and
// password (except the user "banned", a blank name and one that is not UTF-8 text, refused
// with a reason), answers the sign-in and lobby commands of the road (220, 3, the mailbox,
// 61, the board list 2700), and answers play now and create with the join of a board of
// the chosen game. Before a sign-in it answers only what a client sends to sign in.
class StubPortal {
public:
    static constexpr const char* kBannedUser = "banned";
    // The text of the refusal the user "banned" gets.
    static constexpr const char* kBannedReason = "Tài khoản này đã bị khoá";
    static constexpr const char* kBannedReasonEnglish = "This account is locked";

    // `serverList` is the list text sent for information key 11; the lottery draws every
    // `lotterySeconds`.
    StubPortal(uint16_t port, std::string serverList, int lotterySeconds = StubAccount::kDrawSeconds);
    // Serves one client's connection, already accepted, and no other.
    // Its serving starts with serve(), once every part of the stub is set up.
    StubPortal(kavo::test::Fd connection, std::string serverList, int lotterySeconds);
    void serve();
    uint16_t port() const { return portal_.port(); }
    kavo::test::TestPortal& portal() { return portal_; }

    // The player id a name signs in with (the same every time, never a stub player's).
    static int32_t playerIdOf(const std::string& name);
    // The 2700 reply for a game type: a few boards.
    static kavo::Message boardList(int gameType);

private:
    void install();
    // Answers as the chosen game's table answers a join of that board.
    void joinFor(int8_t room, int8_t board, const std::string& password, kavo::test::TestPortal::Reply& reply);
    // The last player signed in.
    CardTableStub::Player signedInPlayer();

    kavo::test::TestPortal portal_;
    std::string serverList_;
    std::atomic<int> gameType_{3};
    StubAccount account_;
    StubShop shop_;
    StubCoTuong coTuong_{portal_};
    StubCoUp coUp_{portal_};
    // The last name signed in (the card table seats it).
    std::mutex userMutex_;
    std::string user_;
    // Declared after the portal: its thread stops before the portal goes.
    std::unique_ptr<CardTableStub> cardTable_;
    StubPhom phom_{portal_};
    std::unique_ptr<StubStakeTables> stakeTables_;
    std::unique_ptr<StubMauBinh> mauBinh_;
    std::unique_ptr<StubCaoRua> caoRua_;
};

} // namespace portalstub
