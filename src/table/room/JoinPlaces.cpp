#include "table/room/JoinPlaces.h"

#include "app/Resources.h"

namespace kavo {

bool isFriendNow(int32_t iddb) {
    return Resources::getInstance().playerIsFriend(iddb);
}

} // namespace kavo
