#pragma once

#include "tests/support/TestPortal.h"
#include "tools/portal-stub/StubLottery.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace portalstub {

// The stub's answers for the account screens: the rankings, the signed-in player's
// profile (record, achievements, avatars, items, transactions), other players' profiles
// and reports, money transfer between the player and the stub's players, avatar and
// password changes, and the number lottery (StubLottery) with a draw every `drawSeconds`
// (ten minutes unless told). It keeps the player's record for the connection (his money
// is the session ledger's); everything else is made up the same way every time.
class StubAccount {
public:
    static constexpr int kDrawSeconds = StubLottery::kDrawSeconds;

    explicit StubAccount(kavo::test::TestPortal& portal, int drawSeconds = kDrawSeconds);
    StubAccount(const StubAccount&) = delete;
    StubAccount& operator=(const StubAccount&) = delete;

    // The sign-in of `name`: the record answered from now on (his money is the ledger's).
    void signedIn(int32_t playerId, const std::string& name);
    // Once the sign-in is answered: what came while he was away.
    void afterSignIn() { lottery_.signedIn(); }

    // The first four stub players are the friends the rankings of friends list.
    static constexpr int kFriends = 4;

private:
    void install(kavo::test::TestPortal& portal);

    std::mutex mutex_;
    int32_t playerId_ = 0;
    std::string name_;
    int32_t avatar_ = 1;
    std::string fullname_ = "Nguyễn Văn Khách";
    int8_t gender_ = 1;
    int16_t birthYear_ = 1990;
    int8_t birthMonth_ = 5;
    int8_t birthDay_ = 17;
    std::string address_ = "12 Lê Lợi";
    std::string idnumber_ = "012345678";
    std::string phone_ = "0901234567";
    int8_t province_ = 1;
    StubLottery lottery_;
};

} // namespace portalstub
