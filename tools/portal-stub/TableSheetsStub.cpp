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

// A stub player as the sheets list him (his id and money are the roster's).
struct Listed {
    const char* name;
    int16_t avatar;
    bool online;
    int32_t id() const { return stubPlayerId(name); }
};

constexpr Listed kWaiting[] = {
    {"lan", 1, true}, {"minh", 2, true}, {"hoa", 3, true}, {"tuan", 4, true}, {"vy", 5, true},
};

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
    for (const auto& p : kWaiting) {
        reply.writeInt(p.id());
        reply.writeUTF(p.name);
        reply.writeLong(StubLedger::stubPlayerMoney(p.name));
        reply.writeShort(p.avatar);
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

void onShop(Message& request, PortalServer::Reply& reply) {
    const int8_t sub = request.readByte();
    switch (sub) {
    case 1: {
        const int32_t kind = request.readInt();
        logLine("gift categories of kind " + std::to_string(kind));
        // Only the gift list (sub 14) reaches the gift sheet.
        if (kind == 8) reply.send(giftCategories());
        break;
    }
    case 15: {
        const int32_t categoryId = request.readInt();
        const int page = request.readByte();
        logLine("gift items of " + std::to_string(categoryId) + ", page " + std::to_string(page));
        reply.send(giftItems(categoryId));
        break;
    }
    case 7: {
        const int room = request.readByte();
        const int board = request.readByte();
        const int32_t item = request.readInt();
        const int32_t toUser = request.readInt();
        logLine("gift " + std::to_string(item) + " to " + std::to_string(toUser) + " at room " + std::to_string(room) +
                ", board " + std::to_string(board));
        // A gift is bought by its giver, at its price, or refused in the one-button dialog.
        const int32_t price = giftPrice(item);
        const std::string refusal = StubShop::buy(price > 0, price, HistoryEntry::giftGiven(item, toUser));
        Message gift(101);
        gift.writeByte(7);
        gift.writeByte(refusal.empty() ? 0 : 1);
        if (!refusal.empty()) {
            gift.writeUTF(refusal);
            reply.send(gift);
            break;
        }
        gift.writeInt(StubPortal::playerIdOf(StubLedger::session().player())); // from
        gift.writeInt(item);
        gift.writeInt(toUser);
        reply.send(gift);
        reply.send(StubLedger::session().balanceReply());
        break;
    }
    default:
        logLine("shop request " + std::to_string(sub));
        break;
    }
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

void onItemPicture(Message& request, PortalServer::Reply& reply) {
    const int8_t sub = request.readByte();
    const int32_t id = request.readInt();
    Message picture(79);
    picture.writeByte(sub);
    picture.writeInt(id);
    writePicture(picture, id);
    reply.send(picture);
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

std::vector<StubCommand> tableSheetCommands() {
    constexpr int32_t kEvery = StubCommand::kEverySub;
    const auto logged = [](const char* what) {
        return [what](Message& request, PortalServer::Reply&) { logTableRequest(request, what); };
    };
    return {
        {78, kEvery,
         [](Message& request, PortalServer::Reply& reply) {
             if (request.readByte() == 2) reply.send(waitingList());
         }},
        {101, kEvery, onShop},
        {34, kEvery, onDetails},
        {38, kEvery, onAvatar},
        {79, kEvery, onItemPicture},
        {18, kEvery, logged("password")},
        {24, kEvery, logged("stake (24)")},
        {74, kEvery,
         [](Message& request, PortalServer::Reply&) { logLine("invitation of " + std::to_string(request.readInt())); }},
        {103, kEvery,
         [](Message& request, PortalServer::Reply&) { logLine("buzz to " + std::to_string(request.readInt())); }},
    };
}

} // namespace portalstub
