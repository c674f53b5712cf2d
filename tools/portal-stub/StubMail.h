#pragma once

#include "tests/support/TestPortal.h"

#include <cstdint>
#include <string>

namespace portalstub {

// The stub's friends, private chat and mail: three friends ("an" online at a board,
// "binh" and "chi" offline) who answer each private line a second later with a line of
// their own, an administrator message and a friend request from "dung" after sign-in,
// the name search among every stub player and the friend-request answers.
class StubMail {
public:
    // Installs the handlers of commands 5, 33, 36 and 104 on `portal` (kept for the
    // process).
    static void install(kavo::test::TestPortal& portal);
    // When the maintenance notice was written (milliseconds since 1970).
    static constexpr int64_t kMaintenanceNoticeTime = 1765000000000LL;
    // The mail that follows the welcome notice in the answer to a mailbox request: the
    // maintenance notice and a friend request.
    static void withMailbox(kavo::test::TestPortal::Reply& reply);
    // The name of a friend or known player by id (empty when none has it).
    static std::string nameOf(int32_t id);
    // At a Caro or Tetris board, the opponent's details (reply 34) two seconds after
    // the join.
    static void afterJoin(int gameType);
};

} // namespace portalstub
