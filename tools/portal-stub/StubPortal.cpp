#include "tools/portal-stub/StubPortal.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubBoards.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubMoreGames.h"
#include "tools/portal-stub/StubNameBook.h"
#include "tools/portal-stub/StubNames.h"
#include "tools/portal-stub/StubNotices.h"
#include "tools/portal-stub/StubProfile.h"
#include "tools/portal-stub/StubRegistration.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/TableSheetsStub.h"

#include <algorithm>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

constexpr int32_t kEvery = StubCommand::kEverySub;

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

// Why a sign-in of `user` is refused (empty: it is not): a name whose bytes are not UTF-8
// text (read as no name, `sent` bytes of it) is not valid, a name that reads as blank (or a
// sign-in without one) is no name, one no person can read as the name it is (StubNames) is
// not valid as at registration, and "banned" is locked.
std::string signInRefusal(const std::string& user, bool sent) {
    if (user.empty() && sent) return StubRegistration::notValid();
    if (readsAsBlank(user)) return say("Bạn chưa nhập tên đăng nhập", "No user name was given");
    if (!readableName(user)) return StubRegistration::notValid();
    if (user == StubPortal::kBannedUser) return say(StubPortal::kBannedReason, StubPortal::kBannedReasonEnglish);
    return "";
}

// Information key `key` (72, a sub of its own), admitted before a sign-in: answered with
// the key and `text`.
StubCommand information(int8_t key, std::function<std::string()> text) {
    return {72, key,
            [key, text](Message&, PortalServer::Reply& reply) {
                Message information(72);
                information.writeByte(key);
                information.writeUTF(text());
                reply.send(information);
            },
            true};
}

} // namespace

StubPortal::StubPortal(portalserver::Fd connection, std::string serverList, int lotterySeconds, uint16_t httpPort)
    : portal_(std::move(connection)), commands_(
                                          portal_, [] { return !StubLedger::session().player().empty(); },
                                          [this] { return gameType_.load(); }, rules()),
      serverList_(std::move(serverList)), httpPort_(httpPort), account_(sender_, lotterySeconds) {
    makeTables();
    for (const auto& table : {lobbyCommands(), noticeCommands(), StubRegistration::commands(), account_.commands(),
                              shop_.commands(), mail_.commands(), tableSheetCommands(seating_), tableCommands()})
        add(table);
}

StubPortal::~StubPortal() {
    stop();
}

// What a client sends before it signs in is admitted: its information and language, the
// information keys, the sign-in (and, in their own tables, the mailbox it asks for as it
// connects, registration, recovery and the social network's sign-in). The rows without a
// handler are only logged.
std::vector<StubCommand> StubPortal::lobbyCommands() {
    return {
        signIn({1, kEvery, answeredBy(this, &StubPortal::onSignIn), true}),
        {75, kEvery, nullptr, true},  // the connection's key
        {100, kEvery, nullptr, true}, // the language of the application
        {221, kEvery, nullptr, true}, // client information
        {222, kEvery, answeredBy(this, &StubPortal::onClientInformation), true},
        {2304, kEvery, nullptr, true}, // registration through the social network
        {2601, kEvery, nullptr, true}, // the push-notification token
        {-1, kEvery, nullptr, true},   // the provider and client type
        {61, kEvery, answeredBy(this, &StubPortal::onGameChosen)},
        {2700, kEvery, answeredBy(this, &StubPortal::onBoardList)},
        {28, kEvery, answeredBy(this, &StubPortal::onPlayNow)},
        {1901, kEvery, answeredBy(this, &StubPortal::onBoardGamePlayNow)},
        {2702, kEvery, answeredBy(this, &StubPortal::onCreate)},
        // The join's last link, at a game without a table of its own: only logged (at Caro
        // and Tetris the opponent's details follow).
        boardJoin({8, kEvery, answeredBy(this, &StubPortal::onJoin)}),
        boardJoin({1900, kEvery, answeredBy(this, &StubPortal::onBoardGameJoin)}),
        // Information by key (72), each key a sub of its own: the help line to dial, the
        // address of the more-games page (in the player's language), the versions whose
        // text-message top-up is on (the version the client told: every one is), the server
        // list and the promotion text. A key not listed is not answered.
        information(2, [] { return std::string(kHotline); }),
        information(3, [this] { return moreGamesAddress(httpPort_); }),
        information(8, [this] { return smsVersions(); }),
        information(11, [this] { return serverList_; }),
        information(13, [] { return StubShop::promotionText(); }),
    };
}

bool StubPortal::add(const std::vector<StubCommand>& table) {
    const bool added = commands_.add(table);
    sound_ = sound_ && added;
    return added;
}

bool StubPortal::sound() const {
    return sound_ && commands_.onlyWayIn();
}

bool StubPortal::readyToServe(const std::vector<StubCommand>& outside) {
    const bool taken = add(outside);
    if (taken && sound()) return true;
    platform::log("portal-stub: its tables are not sound; it does not serve");
    return false;
}

StubRules StubPortal::rules() {
    return {[this](Message& request, PortalServer::Reply& reply) { return joinAdmitted(request, reply); },
            [this](PortalServer::Reply& reply) { afterSignIn(reply); }};
}

// However a person signed in (1, or 2301 through the social network), once it is answered
// he gets what waited for him: his new mail and the lottery's results.
void StubPortal::afterSignIn(PortalServer::Reply& reply) {
    if (StubLedger::session().player().empty()) return;
    mail_.signedIn(reply);
    account_.afterSignIn();
}

void StubPortal::serve() {
    portal_.start();
}

void StubPortal::answer(Message& request) {
    portal_.dispatch(request);
    portal_.clearMessages();
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

void StubPortal::onSignIn(Message& request, PortalServer::Reply& reply) {
    // The name's length: a name sent that reads as none is not text.
    const bool sent = request.data().size() >= 2 && (request.data()[0] | request.data()[1]) != 0;
    const std::string user = request.readUTF();
    platform::log("sign-in of \"" + shortenedName(user) + "\"");
    std::string reason = signInRefusal(user, sent);
    // The account the name signs in to: as it is kept, or a new one's under its normal form.
    const auto account = reason.empty() ? StubNameBook::claim(user) : StubNameBook::Found{};
    if (reason.empty()) reason = StubNameBook::refusal(account);
    // A refused name is no account: nothing is kept or seated under it.
    if (!reason.empty()) {
        Message refused(4);
        refused.writeUTF(reason);
        reply.send(refused);
        return;
    }
    const std::string& person = account.name;
    coTuong_.setPlayer(playerIdOf(person), person);
    coUp_.setPlayer(playerIdOf(person), person);
    phom_.setPlayer(playerIdOf(person), person);
    {
        std::lock_guard lock(userMutex_);
        user_ = person;
    }
    account_.signedIn(playerIdOf(person), person);
    Message signedIn(3);
    signedIn.writeInt(playerIdOf(person));
    signedIn.writeLong(shop_.signIn(person));
    signedIn.writeShort(StubProfile::avatarOf(person));
    signedIn.writeInt(2500);
    reply.send(signedIn);
}

// The client's information (222: provider, client type, version, ...): accepted; its
// version is kept for information key 8.
void StubPortal::onClientInformation(Message& request, PortalServer::Reply& reply) {
    request.readInt();
    request.readInt();
    const std::string version = request.readUTF();
    {
        std::lock_guard lock(userMutex_);
        version_ = version;
    }
    Message accepted(220);
    accepted.writeByte(1);
    reply.send(accepted);
}

std::string StubPortal::smsVersions() {
    std::lock_guard lock(userMutex_);
    return version_.empty() ? "" : "1-" + version_;
}

void StubPortal::onGameChosen(Message& request, PortalServer::Reply& reply) {
    const int8_t type = request.readByte();
    gameType_ = type;
    platform::log("game type " + std::to_string(type));
    Message chosen(61);
    chosen.writeByte(type);
    reply.send(chosen);
}

void StubPortal::onBoardList(Message& request, PortalServer::Reply& reply) {
    platform::log("board list, money " + std::to_string(request.readLong()));
    reply.send(boardList(gameType_));
}

// Play now (28, or 1901 at the board games of their own join) is answered as the join of a
// board would be: the answer opens the table of board 1 of the chosen game (free at every
// game).
void StubPortal::onPlayNow(Message&, PortalServer::Reply& reply) {
    platform::log("play-now request");
    joinFor(kStubRoom, 1, "", reply);
}

void StubPortal::onBoardGamePlayNow(Message&, PortalServer::Reply& reply) {
    platform::log("play-now request (1901)");
    joinFor(kStubRoom, 1, "", reply);
}

// Create opens a new board with the stake given, the person its owner, and is answered
// as its join would be.
void StubPortal::onCreate(Message& request, PortalServer::Reply& reply) {
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
    platform::log("create request: board " + std::to_string(board) + ", stake " + std::to_string(money) + ", seats " +
                  std::to_string(seats) + passwordNote(password));
    joinFor(kStubRoom, board, password, reply);
}

void StubPortal::makeTables() {
    const auto gameType = [this] { return gameType_.load(); };
    cardTable_ = std::make_unique<CardTableStub>(
        sender_, seating_, [this] { return signedInPlayer(); }, gameType);
    stakeTables_ = std::make_unique<StubStakeTables>(
        sender_,
        [this] {
            const auto player = signedInPlayer();
            return StubStakeTables::Player{player.id, player.name};
        },
        [this] { return cardTable_->stake(); });
    mauBinh_ = std::make_unique<StubMauBinh>(
        sender_, *cardTable_, [this] { return signedInPlayer(); }, gameType);
    caoRua_ = std::make_unique<StubCaoRua>(
        sender_, seating_, [this] { return signedInPlayer(); }, gameType, *cardTable_);
}

// The games' tables, each answering for its game types. A table that hands a request on
// (Phom's stake, a stake table's leave) hands it to the card table, which answers it at
// every other game.
std::vector<StubCommand> StubPortal::tableCommands() {
    const auto gameType = [this] { return gameType_.load(); };
    std::vector<StubCommand> all;
    for (auto table : {coTuong_.commands(gameType), coUp_.commands(gameType), cardTable_->commands(),
                       phom_.commands(gameType, answeredBy(cardTable_.get(), &CardTableStub::onStake)),
                       stakeTables_->commands(answeredBy(cardTable_.get(), &CardTableStub::onLeave)),
                       mauBinh_->commands(), caoRua_->commands()})
        all.insert(all.end(), std::make_move_iterator(table.begin()), std::make_move_iterator(table.end()));
    return all;
}

namespace {

// The log line of a join no table answers: `what`, its room and board, whether it came with
// a password.
void logJoin(const std::string& what, Message& request) {
    const int room = request.readByte();
    const int board = request.readByte();
    platform::log(what + ": room " + std::to_string(room) + ", board " + std::to_string(board) +
                  passwordNote(request.readUTF()));
}

} // namespace

// A join (8) at a game without a table: at Caro and Tetris the opponent's details follow.
void StubPortal::onJoin(Message& request, PortalServer::Reply&) {
    logJoin("join request", request);
    mail_.afterJoin(gameType_);
}

// A join of the board games of their own join command (1900) without a table: only logged.
void StubPortal::onBoardGameJoin(Message& request, PortalServer::Reply&) {
    logJoin("join request (1900)", request);
}

// Every join first meets the board's own refusals, whichever table then seats the player:
// a created board with a password seats only those who give it, and a full board nobody;
// a refused join is answered with the reason in a notice.
bool StubPortal::joinAdmitted(Message& request, PortalServer::Reply& reply) {
    // He leaves the table he sat at, whichever table seats him now, if any.
    seating_.left();
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
        return true;
    }
    platform::log("join of board " + std::to_string(board) + " refused: " + refusal);
    Message notice(45);
    notice.writeByte(0);
    notice.writeUTF(refusal);
    reply.send(notice);
    return false;
}

void StubPortal::joinFor(int8_t room, int8_t board, const std::string& password, PortalServer::Reply& reply) {
    // The join command of the chosen game, as the client would send it.
    const int type = gameType_;
    const int16_t command = (type == 4 || type == 5 || type == 20) ? 1900 : 8;
    Message join(command);
    join.writeByte(room);
    join.writeByte(board);
    join.writeUTF(password);
    Message request(command, join.data());
    commands_.dispatch(request, reply);
}

CardTableStub::Player StubPortal::signedInPlayer() {
    std::lock_guard lock(userMutex_);
    return {playerIdOf(user_), user_};
}

} // namespace portalstub
