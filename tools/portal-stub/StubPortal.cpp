#include "tools/portal-stub/StubPortal.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubBoards.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubMail.h"
#include "tools/portal-stub/StubNotices.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubRegistration.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/TableSheetsStub.h"

#include <algorithm>

namespace portalstub {

using kavo::Message;
using kavo::test::TestPortal;

namespace {

// Seats at a board of each game type: two for the board games, more for the dice and
// poker tables, four for the card games.
int seatsOf(int gameType) {
    switch (gameType) {
    case 1:  // Caro
    case 5:  // Chinese chess
    case 8:  // Tetris
    case 9:  // chess
    case 20: // hidden-piece Chinese chess
        return 2;
    case 4:  // Poker
    case 17: // Cao Rua
    case 18: // Bau Cua
        return 6;
    default:
        return 4;
    }
}

// The log tells whether a password came, never the password.
std::string passwordNote(const std::string& password) {
    return password.empty() ? ", no password" : ", with a password";
}

// What a client sends before it signs in: its information and language, the mailbox it
// asks for as it connects, the server list and the other information keys, and the
// sign-in, registration and recovery requests. Before a sign-in there is no account to act
// on: every other request is dropped.
bool admittedBeforeSignIn(int16_t command) {
    switch (command) {
    case 1:    // sign-in
    case 35:   // registration
    case 72:   // information by key
    case 73:   // the text message a recovery asks for
    case 75:   // the connection's key
    case 100:  // the language of the application
    case 221:  // client information
    case 222:  // client information
    case 1702: // the mailbox, asked for as the client connects
    case 2301: // sign-in through the social network
    case 2304: // registration through the social network
    case 2601: // the push-notification token
    case 2800: // client information: the language
    case -1:   // the provider and client type
        return true;
    default:
        return false;
    }
}

// Why a sign-in of `user` is refused (empty: it is not): a name whose bytes are not UTF-8
// text (read as no name, `sent` bytes of it) is not valid, a name of nothing but blanks
// (or a sign-in without one) is no name, and "banned" is locked.
std::string signInRefusal(const std::string& user, bool sent) {
    if (user.empty() && sent) return say("Tên đăng nhập không hợp lệ", "The user name is not valid");
    if (user.find_first_not_of(" \t") == std::string::npos)
        return say("Bạn chưa nhập tên đăng nhập", "No user name was given");
    if (user == StubPortal::kBannedUser) return say(StubPortal::kBannedReason, StubPortal::kBannedReasonEnglish);
    return "";
}

} // namespace

StubPortal::StubPortal(uint16_t port, std::string serverList, int lotterySeconds)
    : portal_(port), serverList_(std::move(serverList)), account_(portal_, lotterySeconds) {
    install();
}

StubPortal::StubPortal(kavo::test::Fd connection, std::string serverList, int lotterySeconds)
    : portal_(std::move(connection)), serverList_(std::move(serverList)), account_(portal_, lotterySeconds) {
    install();
}

void StubPortal::serve() {
    // However a person signed in (1, or 2301 through the social network), once it is
    // answered he gets what waited for him: his new mail and the lottery's results.
    for (int16_t command : {int16_t(1), int16_t(2301)}) {
        portal_.onCommand(command,
                          [this, inner = portal_.handlerOf(command)](Message& request, TestPortal::Reply& reply) {
                              if (inner) inner(request, reply);
                              if (StubLedger::session().player().empty()) return;
                              StubMail::signedIn(reply);
                              account_.afterSignIn();
                          });
    }
    portal_.start();
}

int32_t StubPortal::playerIdOf(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    return kFirstPersonId + int32_t(hash % uint32_t(kPersonIds));
}

Message StubPortal::boardList(int gameType) {
    const int seats = seatsOf(gameType);
    Message reply(2700);
    reply.writeInt(kHighestStake);
    reply.writeInt(int32_t(std::size(kBoardStakes)));
    int8_t board = 1;
    for (int32_t stake : kBoardStakes) {
        reply.writeByte(int8_t(1 + board / 4)); // room
        reply.writeByte(board);
        reply.writeBool(board == kLockedBoard ? 1 : 0);
        reply.writeInt(stake);
        reply.writeInt(stake * 10);
        reply.writeBool(board % 2 == 0 ? 1 : 0);                              // playing
        reply.writeByte(int8_t(board == kFullBoard ? seats : board % seats)); // seated
        reply.writeByte(int8_t(seats));
        reply.writeByte(0);
        ++board;
    }
    return reply;
}

void StubPortal::install() {
    portal_.admitOnly([](const Message& request) {
        if (!StubLedger::session().player().empty() || admittedBeforeSignIn(request.commandId())) return true;
        platform::log("command " + std::to_string(request.commandId()) + " before a sign-in: dropped");
        return false;
    });
    installNotices(portal_);
    portal_.onCommand(222, [](Message&, TestPortal::Reply& reply) {
        Message accepted(220);
        accepted.writeByte(1);
        reply.send(accepted);
    });
    shop_.install(portal_);
    StubRegistration::install(portal_);
    portal_.onCommand(1, [this](Message& request, TestPortal::Reply& reply) {
        // The name's length: a name sent that reads as none is not text.
        const bool sent = request.data().size() >= 2 && (request.data()[0] | request.data()[1]) != 0;
        const std::string user = request.readUTF();
        platform::log("sign-in of \"" + user + "\"");
        // A refused name is no account: nothing is kept or seated under it.
        if (const std::string reason = signInRefusal(user, sent); !reason.empty()) {
            Message refused(4);
            refused.writeUTF(reason);
            reply.send(refused);
            return;
        }
        coTuong_.setPlayer(playerIdOf(user), user);
        coUp_.setPlayer(playerIdOf(user), user);
        phom_.setPlayer(playerIdOf(user), user);
        {
            std::lock_guard lock(userMutex_);
            user_ = user;
        }
        account_.signedIn(playerIdOf(user), user);
        Message signedIn(3);
        signedIn.writeInt(playerIdOf(user));
        signedIn.writeLong(shop_.signIn(user));
        signedIn.writeShort(int16_t(StubProfile::of(user).avatar));
        signedIn.writeInt(2500);
        reply.send(signedIn);
    });
    portal_.onCommand(72, [this](Message& request, TestPortal::Reply& reply) {
        const int8_t key = request.readByte();
        if (key == 13) reply.send(StubShop::promotionText());
        if (key != 11) return;
        Message list(72);
        list.writeByte(11);
        list.writeUTF(serverList_);
        reply.send(list);
    });
    portal_.onCommand(61, [this](Message& request, TestPortal::Reply& reply) {
        const int8_t type = request.readByte();
        gameType_ = type;
        platform::log("game type " + std::to_string(type));
        Message chosen(61);
        chosen.writeByte(type);
        reply.send(chosen);
    });
    portal_.onCommand(2700, [this](Message& request, TestPortal::Reply& reply) {
        platform::log("board list, money " + std::to_string(request.readLong()));
        reply.send(boardList(gameType_));
    });
    coTuong_.install([this] { return gameType_.load(); });
    coUp_.install([this] { return gameType_.load(); });
    portal_.onCommand(8, [this](Message& request, TestPortal::Reply& reply) {
        if (coTuong_.onJoin(request, reply) || coUp_.onJoin(request, reply)) return;
        const int room = request.readByte();
        const int board = request.readByte();
        platform::log("join request: room " + std::to_string(room) + ", board " + std::to_string(board) +
                      passwordNote(request.readUTF()));
        StubMail::afterJoin(gameType_);
    });
    portal_.onCommand(1900, [this](Message& request, TestPortal::Reply& reply) {
        if (coTuong_.onJoin(request, reply) || coUp_.onJoin(request, reply)) return;
        const int room = request.readByte();
        const int board = request.readByte();
        platform::log("join request (1900): room " + std::to_string(room) + ", board " + std::to_string(board) +
                      passwordNote(request.readUTF()));
    });
    // Play now and create are answered as the join of a board would be: the answer
    // opens the table. Play now seats the person at board 1 of the chosen game (free at
    // every game); create opens a new board with the stake given, the person its owner.
    portal_.onCommand(28, [this](Message&, TestPortal::Reply& reply) {
        platform::log("play-now request");
        joinFor(kStubRoom, 1, "", reply);
    });
    portal_.onCommand(1901, [this](Message&, TestPortal::Reply& reply) {
        platform::log("play-now request (1901)");
        joinFor(kStubRoom, 1, "", reply);
    });
    portal_.onCommand(2702, [this](Message& request, TestPortal::Reply& reply) {
        // int 0, int stake, byte seats, then the password (at least its two-byte length).
        constexpr size_t kShortest = 4 + 4 + 1 + 2;
        if (request.data().size() < kShortest) {
            platform::log("create request of " + std::to_string(request.data().size()) + " bytes: dropped");
            return;
        }
        request.readInt();
        const int32_t money = request.readInt();
        const int seats = uint8_t(request.readByte());
        const std::string password = request.readUTF();
        if (const std::string refusal = stakeRefusal(money); !refusal.empty()) {
            platform::log("create request with a stake of " + std::to_string(money) + ": refused");
            Message refused(10);
            refused.writeUTF(refusal);
            reply.send(refused);
            return;
        }
        // A number of players of 0 would read as "every place"; it is below 2 like 1.
        const int8_t board = createBoard(money, password, std::max(seats, 1));
        platform::log("create request: board " + std::to_string(board) + ", stake " + std::to_string(money) +
                      ", seats " + std::to_string(seats) + passwordNote(password));
        joinFor(kStubRoom, board, password, reply);
    });
    installTableSheets(portal_);
    cardTable_ = std::make_unique<CardTableStub>(
        portal_,
        [this] {
            std::lock_guard lock(userMutex_);
            return CardTableStub::Player{playerIdOf(user_), user_};
        },
        [this] { return gameType_.load(); });
    cardTable_->install();
    phom_.install([this] { return gameType_.load(); });
    stakeTables_ = std::make_unique<StubStakeTables>(
        portal_,
        [this] {
            std::lock_guard lock(userMutex_);
            return StubStakeTables::Player{playerIdOf(user_), user_};
        },
        [this] { return gameType_.load(); }, [this] { return cardTable_->stake(); });
    stakeTables_->install();
    mauBinh_ = std::make_unique<StubMauBinh>(
        portal_, *cardTable_,
        [this] {
            std::lock_guard lock(userMutex_);
            return CardTableStub::Player{playerIdOf(user_), user_};
        },
        [this] { return gameType_.load(); });
    mauBinh_->install();
    caoRua_ = std::make_unique<StubCaoRua>(
        portal_, [this] { return signedInPlayer(); }, [this] { return gameType_.load(); }, *cardTable_);
    caoRua_->install();
    StubMail::install(portal_);
    // A created board with a password seats only those who give it, and a full board
    // nobody: a refused join is answered with the reason in a notice.
    for (int16_t command : {int16_t(8), int16_t(1900)}) {
        portal_.onCommand(command,
                          [this, inner = portal_.handlerOf(command)](Message& request, TestPortal::Reply& reply) {
                              Message copy(request.commandId(), request.data());
                              copy.readByte();
                              const int board = copy.readByte();
                              std::string refusal;
                              if (board == kFullBoard)
                                  refusal = say("Bàn đã đủ người", "The board is full");
                              else if (!boardAdmits(board, copy.readUTF()))
                                  refusal = say("Sai mật khẩu bàn", "Wrong board password");
                              if (refusal.empty()) {
                                  StubProfile::session().seated(gameType_);
                                  if (inner) inner(request, reply);
                                  return;
                              }
                              platform::log("join of board " + std::to_string(board) + " refused: " + refusal);
                              Message notice(45);
                              notice.writeByte(0);
                              notice.writeUTF(refusal);
                              reply.send(notice);
                          });
    }
    // Unknown requests may carry passwords (a password change, a registration): only
    // their id and size are logged.
    portal_.onAnyCommand([](Message& request, TestPortal::Reply&) {
        platform::log("command " + std::to_string(request.commandId()) + ", " + std::to_string(request.data().size()) +
                      " bytes");
    });
}

void StubPortal::joinFor(int8_t room, int8_t board, const std::string& password, TestPortal::Reply& reply) {
    // The join command of the chosen game, as the client would send it.
    const int type = gameType_;
    const int16_t command = (type == 4 || type == 5 || type == 20) ? 1900 : 8;
    Message join(command);
    join.writeByte(room);
    join.writeByte(board);
    join.writeUTF(password);
    Message request(command, join.data());
    if (auto handler = portal_.handlerOf(command)) handler(request, reply);
}

CardTableStub::Player StubPortal::signedInPlayer() {
    std::lock_guard lock(userMutex_);
    return {playerIdOf(user_), user_};
}

} // namespace portalstub
