#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubSender.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace portalstub {

// The number lottery: a draw every `drawSeconds` on the stub's clock (the same for
// every connection, from the stub's start), numbered from 1 up; the stub begins with
// five draws made. A ticket is paid and kept in one step with the person's account,
// for the draw open when it is bought; when a draw is made its tickets are settled
// once (a winning one pays seventy times its stake) and the result (1404) goes to the
// buyer, at once when he is connected, else after his next sign-in.
class StubLottery {
public:
    static constexpr int kDrawSeconds = 600;
    // The draws made before the stub's start, so that the history is never empty.
    static constexpr int32_t kDrawsBefore = 5;

    StubLottery(StubSender& sender, int drawSeconds);
    ~StubLottery();
    StubLottery(const StubLottery&) = delete;
    StubLottery& operator=(const StubLottery&) = delete;

    std::vector<StubCommand> commands();
    // After a sign-in has been answered: the results of draws made while he was away.
    void signedIn();

    // The winning number of a draw: the same at every run, on purpose (the tests, and a
    // person trying the lottery by hand, know beforehand which ticket wins).
    static int32_t winningOf(int32_t draw);

private:
    void onTimeLeft(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onDraws(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onTickets(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onTicket(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    // The draw open for tickets now, and the milliseconds before it is made.
    int32_t openDraw() const;
    int64_t millisecondsLeft() const;
    // Settles the signed-in person's tickets of the draws made and tells him each result.
    void settle();
    // Waits for each draw until the session ends, and settles it.
    void drawLoop();

    StubSender& sender_;
    const int64_t periodMs_;
    std::mutex mutex_;
    bool stopping_ = false; // guarded by mutex_
    std::condition_variable stopped_;
    std::thread drawer_;
};

} // namespace portalstub
