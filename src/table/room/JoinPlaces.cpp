#include "table/room/JoinPlaces.h"

#include "app/Resources.h"
#include "platform/runtime/Log.h"
#include "portal/ReplyReader.h"

namespace kavo {

namespace {

std::shared_ptr<TienLenPlayer> emptyPlace() {
    auto place = std::make_shared<TienLenPlayer>();
    place->setIDDB(-1);
    place->setName("");
    return place;
}

} // namespace

bool isFriendNow(int32_t iddb) {
    return Resources::getInstance().playerIsFriend(iddb);
}

std::vector<std::shared_ptr<TienLenPlayer>> readJoinPlaces(ReplyReader& reader, size_t places,
                                                           const std::string& table) {
    std::vector<std::shared_ptr<TienLenPlayer>> list;
    size_t extra = 0;
    while (reader.hasMore()) {
        const int32_t id = reader.int32();
        if (!reader.ok()) break;
        auto player = emptyPlace();
        if (id != -1) {
            const std::string name = reader.utf();
            const int64_t money = reader.int64();
            const int16_t avatar = reader.int16();
            const int32_t exp = reader.int32();
            const bool ready = reader.boolean();
            if (!reader.ok()) break;
            player->setIDDB(id);
            player->setName(name);
            player->setMoney(money);
            player->setAvatar(avatar);
            player->setExp(exp);
            player->setIsReady(ready ? 1 : 0);
        }
        if (list.size() < places)
            list.push_back(player);
        else
            ++extra;
    }
    if (extra > 0) platform::log(table + ": join with " + std::to_string(extra) + " place(s) too many, dropped");
    if (list.size() < places)
        platform::log(table + ": join with " + std::to_string(list.size()) + " place(s), the others are empty");
    while (list.size() < places)
        list.push_back(emptyPlace());
    return list;
}

} // namespace kavo
