#pragma once

#include "tools/portal-server/PortalServer.h"
#include "tools/portal-stub/CardTableStub.h"
#include "tools/portal-stub/StubAccount.h"
#include "tools/portal-stub/StubCaoRua.h"
#include "tools/portal-stub/StubCoTuong.h"
#include "tools/portal-stub/StubCoUp.h"
#include "tools/portal-stub/StubCommands.h"
#include "tools/portal-stub/StubMail.h"
#include "tools/portal-stub/StubMauBinh.h"
#include "tools/portal-stub/StubPhom.h"
#include "tools/portal-stub/StubSeating.h"
#include "tools/portal-stub/StubSender.h"
#include "tools/portal-stub/StubShop.h"
#include "tools/portal-stub/StubStakeTables.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace portalstub {

// The stub's game server for one client's connection: it accepts the client information
// and any user name and password (except the user "banned", a blank name and one that is
// not UTF-8 text, refused with a reason), answers the sign-in and lobby road (220, 3, the
// mailbox, 61, the board list 2700, every information key the client asks for), and
// answers play now and create with the join of a board of the chosen game. Each area's
// commands are one table (StubCommands), which also says what is admitted before a
// sign-in: before one the stub answers only what a client sends to sign in.
class StubPortal {
public:
    static constexpr const char* kBannedUser = "banned";
    // The text of the refusal the user "banned" gets.
    static constexpr const char* kBannedReason = "Tài khoản này đã bị khoá";
    static constexpr const char* kBannedReasonEnglish = "This account is locked";
    // The stub's pages' port unless told (the more-games page is there).
    static constexpr uint16_t kHttpPort = 12347;
    // The help line the server gives a client that cannot dial its own (information key 2).
    static constexpr const char* kHotline = "19001234";

    // Serves one client's connection, already accepted, and no other; `serverList` is the
    // list text sent for information key 11, the lottery draws every `lotterySeconds` and
    // the stub's pages are on `httpPort`. Its serving starts with serve(), once every part
    // of the stub is set up.
    StubPortal(portalserver::Fd connection, std::string serverList, int lotterySeconds, uint16_t httpPort = kHttpPort);
    // Stops first: no handler runs on a part that is gone.
    ~StubPortal();
    StubPortal(const StubPortal&) = delete;
    StubPortal& operator=(const StubPortal&) = delete;

    void serve();
    // Stops reading the connection and waits for the request in hand: no handler runs after
    // it returns, so that what the handlers use may go.
    void stop() { portal_.stop(); }
    // Whether the client is still there: connected, or its connection not yet served.
    bool clientHere() const { return portal_.connectionCount() == 0 || portal_.isClientConnected(); }
    // Answers `request` as one the client sent, through the one way in (the gate and the
    // table), and keeps no record of it: a fuzzer drives the stub without a socket.
    void answer(kavo::Message& request);
    // Adds the commands of a part made outside (the social network's sign-in); false when a
    // row was refused (StubCommands::add).
    bool add(const std::vector<StubCommand>& table);
    // Whether the stub may serve: every row of its tables was taken and no handler was set
    // on the portal beside them. A stub that may not does not serve, and its log says why.
    bool sound() const;
    // Adds the rows of the parts made outside and tells whether the stub may serve then;
    // false with the log's line "portal-stub: its tables are not sound; it does not serve".
    bool readyToServe(const std::vector<StubCommand>& outside);
    // The stub's table, row by row.
    std::vector<StubCommands::Row> rows() const { return commands_.rows(); }

    // The player id a name signs in with (the same every time, never a stub player's).
    static int32_t playerIdOf(const std::string& name);
    // The 2700 reply for a game type: a few boards.
    static kavo::Message boardList(int gameType);

private:
    std::vector<StubCommand> lobbyCommands();
    void onSignIn(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onClientInformation(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onGameChosen(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onBoardList(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onPlayNow(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onBoardGamePlayNow(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onCreate(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    // What the rows' rules do (StubRules): a join of a board may go on to the table, else
    // it is answered with the board's refusal; a person signed in gets what waited for him,
    // his new mail and the lottery's results.
    StubRules rules();
    bool joinAdmitted(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void afterSignIn(portalserver::PortalServer::Reply& reply);
    // The games' tables, made once the portal is, and their rows, each for its game types.
    void makeTables();
    std::vector<StubCommand> tableCommands();
    void onJoin(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    void onBoardGameJoin(kavo::Message& request, portalserver::PortalServer::Reply& reply);
    // Answers as the chosen game's table answers a join of that board.
    void joinFor(int8_t room, int8_t board, const std::string& password, portalserver::PortalServer::Reply& reply);
    // The last player signed in.
    CardTableStub::Player signedInPlayer();
    // What information key 8 gives: the versions whose text-message top-up is on.
    std::string smsVersions();

    portalserver::PortalServer portal_;
    // All that the areas hold of the connection: the table is the only way in.
    StubSender sender_{portal_};
    StubCommands commands_;
    std::string serverList_;
    uint16_t httpPort_;
    std::atomic<int> gameType_{3};
    bool sound_ = true;
    StubAccount account_;
    StubShop shop_;
    StubMail mail_{sender_};
    // Where the person sits: the tables seat him, a join's rule and a leave take him away.
    StubSeating seating_;
    StubCoTuong coTuong_{sender_, seating_};
    StubCoUp coUp_{sender_, seating_};
    // The last name signed in (the card table seats it) and the version the client runs.
    std::mutex userMutex_;
    std::string user_;
    std::string version_;
    // Declared after the portal: its thread stops before the portal goes.
    std::unique_ptr<CardTableStub> cardTable_;
    StubPhom phom_{sender_, seating_};
    std::unique_ptr<StubStakeTables> stakeTables_;
    std::unique_ptr<StubMauBinh> mauBinh_;
    std::unique_ptr<StubCaoRua> caoRua_;
};

} // namespace portalstub
