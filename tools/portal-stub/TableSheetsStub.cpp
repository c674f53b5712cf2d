#include "tools/portal-stub/TableSheetsStub.h"

#include "platform/runtime/Log.h"
#include "tools/portal-stub/StubImages.h"
#include "tools/portal-stub/StubLanguage.h"
#include "tools/portal-stub/StubLedger.h"
#include "tools/portal-stub/StubPortal.h"
#include "tools/portal-stub/StubRoster.h"
#include "tools/portal-stub/StubShop.h"

#include <string>
#include <vector>

namespace portalstub {

using kavo::Message;
using portalserver::PortalServer;

namespace {

// The stub players the waiting list names (their ids, money and avatars are the roster's).
constexpr const char* kWaiting[] = {"lan", "minh", "hoa", "tuan", "vy"};

struct GiftCategory {
    int32_t id;
    const char* name;
};
constexpr GiftCategory kCategories[] = {{41, "Hoa"}, {42, "Bánh"}, {43, "Quà"}};
constexpr int kGiftsPerCategory = 4;

void logLine(const std::string& line) {
    platform::log("table sheets: " + line);
}

Message waitingList() {
    Message reply(78);
    reply.writeByte(2);
    for (const char* name : kWaiting) {
        reply.writeInt(stubPlayerId(name));
        reply.writeUTF(name);
        reply.writeLong(StubLedger::stubPlayerMoney(name));
        reply.writeShort(stubPlayerAvatar(stubPlayerId(name)));
        reply.writeInt(1500); // exp
        reply.writeUTF("");   // status
    }
    return reply;
}

Message giftCategories() {
    Message reply(101);
    reply.writeByte(14);
    for (const auto& category : kCategories) {
        reply.writeInt(category.id);
        reply.writeUTF(category.name);
        reply.writeInt(8); // parent
    }
    return reply;
}

// The price of a gift the sheet lists (its id is its category's id times 100 plus its
// place, from 1), or 0 for an id it never listed.
int32_t giftPrice(int32_t item) {
    const int32_t place = item % 100;
    for (const auto& category : kCategories)
        if (item / 100 == category.id && place >= 1 && place <= kGiftsPerCategory) return 1000 * place;
    return 0;
}

bool listedCategory(int32_t id) {
    for (const auto& category : kCategories)
        if (id == category.id) return true;
    return false;
}

// The gifts of a category the sheet listed; any other holds none (its id, from the wire,
// never makes a gift id).
Message giftItems(int32_t categoryId) {
    Message reply(101);
    reply.writeByte(15);
    reply.writeInt(categoryId);
    reply.writeInt(1); // pages
    for (int i = 1; listedCategory(categoryId) && i <= kGiftsPerCategory; ++i) {
        reply.writeInt(categoryId * 100 + i);
        reply.writeUTF(giftName(categoryId * 100 + i));
        reply.writeInt(giftPrice(categoryId * 100 + i));
    }
    return reply;
}

// 101 sub 1: the categories of a kind; only the gift list (sub 14) reaches the gift sheet.
void onCategories(Message& request, PortalServer::Reply& reply) {
    const int32_t kind = request.readInt();
    logLine("gift categories of kind " + std::to_string(kind));
    if (kind == 8) reply.send(giftCategories());
}

// 101 sub 15: a category's gifts.
void onGiftItems(Message& request, PortalServer::Reply& reply) {
    const int32_t categoryId = request.readInt();
    const int page = request.readByte();
    logLine("gift items of " + std::to_string(categoryId) + ", page " + std::to_string(page));
    reply.send(giftItems(categoryId));
}

// The name of the player `id` seated at the giver's table: the giver himself or a stub player.
std::string seatedName(int32_t id, int32_t giverId, const std::string& giver) {
    if (id == giverId) return giver;
    const StubPlayer* player = stubPlayerWithId(id);
    return player ? player->name : std::to_string(id);
}

// Why a gift at the table of `room` and `board` from the person `giverId` to `toUser` is
// refused for where they sit (empty: it is not): the giver sits at no table, or at another,
// or the receiver is not at his (no one of that id, or someone elsewhere).
std::string seatRefusal(const StubSeating& seating, int8_t room, int8_t board, int32_t giverId, int32_t toUser) {
    if (!seating.seatedAt(room, board, giverId)) return say("Bạn không ngồi ở bàn này", "You are not at this table");
    if (!seating.seatedAt(room, board, toUser))
        return say("Người chơi này không ngồi cùng bàn với bạn", "This player is not at your table");
    return "";
}

// 101 sub 7: a gift at the table to a player seated there, bought by its giver at its price,
// or refused in the one-button dialog.
void onGiftBought(const StubSeating& seating, Message& request, PortalServer::Reply& reply) {
    const int8_t room = request.readByte();
    const int8_t board = request.readByte();
    const int32_t item = request.readInt();
    const int32_t toUser = request.readInt();
    logLine("gift " + std::to_string(item) + " to " + std::to_string(toUser) + " at room " + std::to_string(room) +
            ", board " + std::to_string(board));
    const std::string giver = StubLedger::session().player();
    const int32_t giverId = StubPortal::playerIdOf(giver);
    const int32_t price = giftPrice(item);
    std::string refusal = seatRefusal(seating, room, board, giverId, toUser);
    if (refusal.empty())
        refusal = StubShop::buy(price > 0, price, HistoryEntry::giftGiven(item, seatedName(toUser, giverId, giver)));
    Message gift(101);
    gift.writeByte(7);
    gift.writeByte(refusal.empty() ? 0 : 1);
    if (!refusal.empty()) {
        gift.writeUTF(refusal);
        reply.send(gift);
        return;
    }
    gift.writeInt(giverId); // from
    gift.writeInt(item);
    gift.writeInt(toUser);
    reply.send(gift);
    reply.send(StubLedger::session().balanceReply());
}

void onDetails(Message& request, PortalServer::Reply& reply) {
    reply.send(playerDetail(request.readInt()));
}

void writePicture(Message& message, int32_t id) {
    const std::string png = pictureOf(id);
    message.writeShort(int16_t(png.size()));
    message.writeData(reinterpret_cast<const uint8_t*>(png.data()), png.size());
}

void onAvatar(Message& request, PortalServer::Reply& reply) {
    const int16_t id = request.readShort();
    Message picture(38);
    picture.writeShort(id);
    writePicture(picture, id);
    reply.send(picture);
}

// 79: the picture of an item (sub 1) or of its full view (sub 4), under the sub asked.
StubCommand itemPicture(int8_t kind) {
    return {79, kind, [kind](Message& request, PortalServer::Reply& reply) {
                const int32_t id = request.readInt();
                Message picture(79);
                picture.writeByte(kind);
                picture.writeInt(id);
                writePicture(picture, id);
                reply.send(picture);
            }};
}

// What the table sends that has no answer: logged for whoever tries it by hand.
void logTableRequest(Message& request, const char* what) {
    const int room = request.readByte();
    const int board = request.readByte();
    std::string line = std::string(what) + " at room " + std::to_string(room) + ", board " + std::to_string(board);
    if (request.commandId() == 18)
        line += ": \"" + request.readUTF() + "\"";
    else
        line += ": " + std::to_string(request.readInt());
    logLine(line);
}

} // namespace

std::string giftName(int32_t item) {
    return say("Quà ", "Gift ") + std::to_string(item / 100) + "-" + std::to_string(item % 100);
}

std::vector<StubCommand> tableSheetCommands(const StubSeating& seating) {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto logged = [](const char* what) {
        return [what](Message& request, PortalServer::Reply&) { logTableRequest(request, what); };
    };
    return {
        {78, 2, [](Message&, PortalServer::Reply& reply) { reply.send(waitingList()); }},
        {101, 1, onCategories},
        {101, 15, onGiftItems},
        movesMoney(
            {101, 7,
             [&seating](Message& request, PortalServer::Reply& reply) { onGiftBought(seating, request, reply); }}),
        {34, kEvery, onDetails},
        {38, kEvery, onAvatar},
        itemPicture(1),
        itemPicture(4),
        {18, kEvery, logged("password")},
        {24, kEvery, logged("stake (24)")},
        {74, kEvery,
         [](Message& request, PortalServer::Reply&) { logLine("invitation of " + std::to_string(request.readInt())); }},
        {103, kEvery,
         [](Message& request, PortalServer::Reply&) { logLine("buzz to " + std::to_string(request.readInt())); }},
    };
}

} // namespace portalstub
