// The shared reader of the room commands under each table's rules: the bytes of a
// command and the values each table's logic handler is handed for them.
#include "table/room/RoomCommandReader.h"

#include "games/caorua/CaoRuaMessageHandler.h"
#include "games/cotuong/CoTuongMessageHandler.h"
#include "games/maubinh/MauBinhMessageHandler.h"
#include "games/phom/PhomNewMessageHandler.h"
#include "games/tienlen/TienLenMessageHandler.h"
#include "portal/ReplyReader.h"
#include "table/base/ChessPlayer.h"
#include "table/base/StakeTableLogic.h"
#include "table/base/TienLenPlayer.h"
#include "tests/support/Bytes.h"
#include "tests/support/CallLine.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using Calls = std::vector<std::string>;

// Writes each call down as a line; a record shows its id, name, money, avatar,
// experience, ready flag (r), finish position (f) and "card" when it is a card
// table's record.
template <class Record> class Recorder : public TableLogic<Record> {
public:
    Calls calls;
    static std::string n(int64_t value) { return std::to_string(value); }
    static std::string place(const Record& p) {
        const bool card = dynamic_cast<const TienLenPlayer*>(static_cast<const Player*>(&p)) != nullptr;
        return "[" + n(p.IDDB()) + " '" + p.name() + "' " + n(p.money()) + " " + n(p.avatar()) + " " + n(p.exp()) +
               " r" + n(p.isReady()) + " f" + n(p.finishPosition()) + (card ? " card" : "") + "]";
    }
    static std::string places(const typename TableLogic<Record>::Records& list) {
        std::string out;
        for (const auto& p : list)
            out += " " + place(*p);
        return out;
    }
    void onJoinGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m,
                                     typename TableLogic<Record>::Records list) override {
        calls.push_back(line("join", r, b, o, m) + places(list));
    }
    void onJoinViewGameSuccessWithRoomId(int8_t r, int8_t b, int32_t o, int32_t m,
                                         typename TableLogic<Record>::Records list) override {
        calls.push_back(line("view", r, b, o, m) + places(list));
    }
    void onChatFromBoardWithRoomId(int8_t r, int8_t b, const std::string& t, int32_t f) override {
        calls.push_back(line("chat", r, b, quoted(t), f));
    }
    void onKickedWithRoomId(int8_t r, int8_t b, int32_t k) override { calls.push_back(line("kicked", r, b, k)); }
    void onSomeOneJoinBoardWithSeat(int s, typename TableLogic<Record>::Record p) override {
        calls.push_back(line("sat", s, place(*p)));
    }
    void onSomeOneLeaveBoardWithIdLeave(int32_t l, int32_t o) override { calls.push_back(line("left", l, "owner", o)); }
    void onSomeOneReadyWithId(int32_t w, bool r) override { calls.push_back(line("ready", w, r)); }
    void onOwnerSetMoneyWithRoomeId(int8_t r, int8_t b, int32_t m) override { calls.push_back(line("stake", r, b, m)); }
    void onOwnerSetMoneyOnBoardWithRoomId(int8_t r, int8_t b, int32_t m, int32_t w) override {
        calls.push_back(line("board stake", r, b, m, "by", w));
    }
    void onBonusMoneyWithRommId(int8_t r, int8_t b, int32_t w, int32_t m, const std::string& d) override {
        calls.push_back(line("bonus", r, b, w, m, quoted(d)));
    }
    void onMoveErrorWithRoomeId(int8_t r, int8_t b, const std::string& t) override {
        calls.push_back(line("refused", r, b, quoted(t)));
    }
    void onDiemSoWithWho(int32_t w, const std::string& d) override { calls.push_back(line("score", w, quoted(d))); }
    void onBuzzWithContent(const std::string& t) override { calls.push_back(line("buzz", quoted(t))); }
};

enum Table { kTienLen, kPhom, kMauBinh, kCaoRua, kStake, kChess };

const char* nameOf(Table table) {
    static const char* const names[] = {"Tien Len", "Phom", "Mau Binh", "Cao Rua", "stake table", "Chinese chess"};
    return names[table];
}

template <class Record> Calls readWith(const RoomRules<Record>& rules, int16_t command, const ByteVector& body) {
    Recorder<Record> recorder;
    Message message(command, body);
    ReplyReader reader(message);
    if (!readRoomCommand(rules, command, reader, recorder)) recorder.calls.push_back("not taken");
    return recorder.calls;
}

// The calls one command makes under a table's own rules.
Calls read(Table table, int16_t command, const ByteVector& body) {
    switch (table) {
    case kTienLen:
        return readWith(TienLenMessageHandler::roomRules(), command, body);
    case kPhom:
        return readWith(PhomNewMessageHandler::roomRules(), command, body);
    case kMauBinh:
        return readWith(MauBinhMessageHandler::roomRules(), command, body);
    case kCaoRua:
        return readWith(CaoRuaMessageHandler::roomRules(), command, body);
    case kStake:
        return readWith(StakeTableLogic::roomRules("stake table"), command, body);
    case kChess:
        return readWith(CoTuongMessageHandler::roomRules(), command, body);
    }
    return {};
}

struct Case {
    Table table;
    int16_t command;
    const char* hex;
    Calls calls;
    const char* why;
};

template <size_t N> void expectCalls(const Case (&cases)[N]) {
    for (const auto& c : cases)
        EXPECT_EQ(read(c.table, c.command, fromHex(c.hex)), c.calls)
            << nameOf(c.table) << " command " << c.command << ": " << c.why;
}

// A join's header: room 1, board 4, owner 7, money 1000.
#define HEADER "01 04 00000007 000003e8 "
// A seated player: id 7, "An", money 5000, avatar 3, experience 120, ready.
#define AN "00000007 0002416e 0000000000001388 0003 00000078 01 "
#define EMPTY "ffffffff "
#define E(f) " [-1 '' 0 0 0 r0 f" #f " card]"

const Case kJoins[] = {
    {kTienLen, 8, HEADER AN EMPTY, {"join 1 4 7 1000 [7 'An' 5000 3 120 r1 f0 card]" E(0) E(0) E(0)}, "four places"},
    {kTienLen, 8, HEADER, {"join 1 4 7 1000" E(0) E(0) E(0) E(0)}, "no place: four empty ones"},
    {kTienLen, 8, HEADER EMPTY EMPTY EMPTY EMPTY AN, {"join 1 4 7 1000" E(0) E(0) E(0) E(0)}, "a fifth place dropped"},
    {kPhom, 8, HEADER AN, {"join 1 4 7 1000 [7 'An' 5000 3 120 r1 f0 card]" E(0) E(0) E(0)}, "four places"},
    {kPhom,
     8,
     HEADER EMPTY EMPTY EMPTY EMPTY "00000009 0001 78 0000000000000001 0001 00000000 00",
     {"join 1 4 7 1000" E(0) E(0) E(0) E(0)},
     "a fifth place is read and dropped"},
    {kMauBinh,
     8,
     HEADER AN,
     {"join 1 4 7 1000 [7 'An' 5000 3 120 r1 f0 card]" E(-1) E(-1) E(-1)},
     "an empty place has no finish position"},
    {kStake,
     8,
     HEADER AN,
     {"join 1 4 7 1000 [7 'An' 5000 3 120 r1 f-1 card]" E(0) E(0) E(0)},
     "a seated player has no finish position; the records are card players"},
    {kStake,
     8,
     HEADER EMPTY EMPTY EMPTY EMPTY EMPTY EMPTY,
     {"join 1 4 7 1000" E(0) E(0) E(0) E(0)},
     "places past four dropped"},
    {kCaoRua, 8, HEADER EMPTY, {"join 1 4 7 1000" E(0) E(0) E(0) E(0) E(0) E(0)}, "six places"},
    {kChess,
     8,
     HEADER "00000009 000442494e48 0000000000000320 0002 00000032 00" EMPTY,
     {"join 1 4 7 1000 [9 'binh' 800 2 50 r0 f0] [-1 '' 0 0 0 r0 f0]"},
     "names lower-cased"},
    {kChess,
     1900,
     HEADER EMPTY,
     {"view 1 4 7 1000 [-1 '' 0 0 0 r0 f0] [-1 '' 0 0 0 r0 f0]"},
     "watching: two places too"},
    {kChess, 8, HEADER EMPTY EMPTY AN, {"join 1 4 7 1000 [-1 '' 0 0 0 r0 f0] [-1 '' 0 0 0 r0 f0]"}, "a third dropped"},
    // A place cut inside its fields ends the list; the places before it stay.
    {kTienLen, 8, HEADER EMPTY "00000009 0001 78 00000000", {"join 1 4 7 1000" E(0) E(0) E(0) E(0)}, "cut in a place"},
    {kPhom, 8, HEADER EMPTY "000000", {"join 1 4 7 1000" E(0) E(0) E(0) E(0)}, "cut inside an id"},
    {kChess,
     8,
     HEADER AN "00000009 0002",
     {"join 1 4 7 1000 [7 'an' 5000 3 120 r1 f0] [-1 '' 0 0 0 r0 f0]"},
     "cut in a name"},
    // A header cut short.
    {kTienLen, 8, "01 04 000000", {"join 1 4 0 0" E(0) E(0) E(0) E(0)}, "read as 0 and handed on"},
    {kChess, 8, "01 04 00000007", {"join 1 4 7 0 [-1 '' 0 0 0 r0 f0] [-1 '' 0 0 0 r0 f0]"}, "read as 0, handed on"},
    {kPhom, 8, "01 04 00000007", {}, "dropped"},
    {kMauBinh, 8, "01 04 00000007", {}, "dropped"},
    {kCaoRua, 8, "01 04 00000007 000003", {}, "dropped"},
    {kStake, 8, "01", {}, "dropped"},
};

TEST(RoomCommandReader, AJoinFillsEachTablesPlacesByItsRules) {
    expectCalls(kJoins);
}

// A player sitting down at place 2: id 9, "Binh", money 800, avatar 2, experience 50.
#define BINH "00000009 000442696e68 0000000000000320 0002 00000032"

const Case kSitDowns[] = {
    {kTienLen, 12, "02" BINH, {"sat 2 [9 'Binh' 800 2 50 r0 f-1 card]"}, "not ready, no finish position"},
    {kCaoRua, 12, "05" BINH, {"sat 5 [9 'Binh' 800 2 50 r0 f-1 card]"}, "place 5 of six"},
    {kChess, 12, "01" BINH, {"sat 1 [9 'Binh' 800 2 50 r0 f0]"}, "the name as sent"},
    {kStake, 12, "c8" BINH, {"sat 200 [9 'Binh' 800 2 50 r0 f-1 card]"}, "the place read unsigned"},
    {kTienLen, 12, "c8" BINH, {"sat -56 [9 'Binh' 800 2 50 r0 f-1 card]"}, "the place read signed"},
    {kMauBinh, 12, "03" BINH, {"sat 3 [9 'Binh' 800 2 50 r0 f-1 card]"}, "the last of four places"},
    {kMauBinh, 12, "04" BINH, {}, "there is no place 4"},
    {kMauBinh, 12, "ff" BINH, {}, "there is no place -1"},
    {kTienLen,
     12,
     "02 00000009 000442696e68 0000000000000320 0002",
     {"sat 2 [9 'Binh' 800 2 0 r0 f-1 card]"},
     "cut short: read as 0 and handed on"},
    {kPhom, 12, "02 00000009 000442696e68 0000000000000320 0002", {}, "cut short: dropped"},
};

TEST(RoomCommandReader, ASitDownReadsThePlaceByEachTablesRules) {
    expectCalls(kSitDowns);
}

const Case kOthers[] = {
    {kPhom, 9, "01 04 00000009 00046368616f", {"chat 1 4 'chao' 9"}, "chat"},
    {kCaoRua, 11, "01 04 00000009", {"kicked 1 4 9"}, "kick"},
    {kMauBinh, 14, "00000009 00000007", {"left 9 owner 7"}, "departure and the new owner"},
    {kStake, 16, "00000009 01", {"ready 9 1"}, "ready"},
    {kChess, 19, "01 04 000009c4", {"stake 1 4 2500"}, "the table's stake"},
    {kCaoRua, 24, "01 04 000001f4 00000007", {"board stake 1 4 500 by 7"}, "24: the money first"},
    {kStake, 80, "01 04 00000007 000001f4", {"board stake 1 4 500 by 7"}, "80: the player first"},
    {kTienLen, 52, "01 04 00000007 ffffff38 000474687561", {"bonus 1 4 7 -200 'thua'"}, "bonus"},
    {kPhom, 54, "07 02 0008736169206c756174", {"refused 2 7 'sai luat'"}, "the board before the room"},
    {kCaoRua, 91, "00000007 000539206e7574", {"score 7 '9 nut'"}, "score text"},
    {kMauBinh, 103, "000442696e68 00026f69", {"buzz 'Binh: oi'"}, "buzz"},
    // Bodies cut short.
    {kTienLen, 9, "01 04 00000009", {"chat 1 4 '' 9"}, "read as \"\" and handed on"},
    {kChess, 16, "00000009", {"ready 9 0"}, "read as 0 and handed on"},
    {kPhom, 9, "01 04 00000009", {}, "dropped"},
    {kStake, 80, "01 04 00000007", {}, "dropped"},
    {kCaoRua, 103, "0001 41", {}, "dropped"},
    {kMauBinh, 14, "00000009 000000", {}, "dropped"},
    // The game's own commands stay with the game.
    {kTienLen, 20, "01 04", {"not taken"}, "a start"},
    {kStake, 19, "01 04 000009c4", {"not taken"}, "no single stake at a stake table"},
    {kMauBinh, 52, "01 04 00000007 ffffff38 000474687561", {"not taken"}, "no bonus at Mau Binh"},
};

TEST(RoomCommandReader, EveryOtherRoomCommandReadsItsFieldsOrIsDroppedCutShort) {
    expectCalls(kOthers);
}

TEST(RoomCommandReader, EachTableTakesItsOwnRoomCommands) {
    const std::vector<int16_t> ids = {8, 9, 11, 12, 14, 16, 19, 20, 24, 52, 54, 80, 91, 103, 1900};
    const struct {
        Table table;
        std::vector<int16_t> taken;
    } tables[] = {
        {kTienLen, {8, 9, 11, 12, 14, 16, 19, 52, 54, 103}},
        {kPhom, {8, 9, 11, 12, 14, 16, 19, 52, 54, 103}},
        {kMauBinh, {8, 9, 11, 12, 14, 16, 19, 103}},
        {kCaoRua, {8, 9, 11, 12, 14, 16, 19, 24, 52, 80, 91, 103}},
        {kStake, {8, 9, 11, 12, 14, 16, 24, 52, 80, 91, 103}},
        {kChess, {8, 9, 11, 12, 14, 16, 19, 103, 1900}},
    };
    for (const auto& t : tables) {
        std::vector<int16_t> taken;
        for (int16_t id : ids) {
            const Calls calls = read(t.table, id, {});
            if (calls.empty() || calls.front() != "not taken") taken.push_back(id);
        }
        EXPECT_EQ(taken, t.taken) << nameOf(t.table);
    }
}

} // namespace
} // namespace kavo::test
