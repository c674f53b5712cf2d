#include "social/FriendSearch.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/UserDefaults.h"
#include "portal/GlobalService.h"

namespace kavo {

void FriendSearch::requestByName(const std::string& name) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setString(name, kRequestKey);
    defaults.synchronize();
    GlobalService::getInstance().searchFriend(name);
}

void FriendSearch::showResult(int result, int addedAction) {
    const char* key = result == 0 ? "KAVO_addFriendOK" : result == 2 ? "KAVO_tooMuchFriend" : "KAVO_friendExist";
    UIController::startOKDlg(Resources::getInstance().textWithKey(key),
                             {result == 0 ? addedAction : UIController::kActionNone});
}

} // namespace kavo
