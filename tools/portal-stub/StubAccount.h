#pragma once

#include "tests/support/TestPortal.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace portalstub {

// The stub's answers for the account screens: the rankings, the signed-in player's
// profile (record, achievements, avatars, items, transactions), other players' profiles
// and reports, money transfer between the player and the stub's players, avatar and
// password changes, and the number lottery with a draw every `drawSeconds` (ten minutes
// unless told), whose result (1404) goes only to a player who holds a bet in that draw:
// the result is a dialog over whatever screen is open. It keeps the player's record and
// lottery bets (his money is the session ledger's); everything else is made up the same
// way every time.
class StubAccount {
public:
    static constexpr int kDrawSeconds = 600;

    explicit StubAccount(kavo::test::TestPortal& portal, int drawSeconds = kDrawSeconds);
    ~StubAccount();
    StubAccount(const StubAccount&) = delete;
    StubAccount& operator=(const StubAccount&) = delete;

    // The sign-in of `name`: the record answered from now on (his money is the ledger's).
    void signedIn(int32_t playerId, const std::string& name);

    // The first four stub players are the friends the rankings of friends list.
    static constexpr int kFriends = 4;

private:
    struct Bet {
        int32_t number;
        int32_t stake;
        bool used;
    };
    void install(kavo::test::TestPortal& portal);
    void installLottery(kavo::test::TestPortal& portal);
    // Seconds to the next draw on the stub's clock.
    int secondsLeft() const;
    // Draws at each period until the stub stops: the winning number goes to a bettor.
    void drawLoop(kavo::test::TestPortal& portal);

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
    std::vector<Bet> bets_;
    std::deque<int32_t> draws_{17, 42, 5, 88, 63}; // the last five, newest first
    int draw_ = 1;

    const int drawSeconds_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    bool stopping_ = false; // guarded by mutex_
    std::condition_variable stopped_;
    std::thread drawer_;
};

} // namespace portalstub
