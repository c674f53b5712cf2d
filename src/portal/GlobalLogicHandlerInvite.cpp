#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "lobby/LoginView.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"

// Main-thread twin of an invitation to a board.

namespace kavo {

void GlobalLogicHandler::onInvitedJoinBoard(int8_t gameId, int8_t roomId, int8_t boardId, const std::string& password,
                                            const std::string& message, int8_t levelRoom, int32_t inviterId) {
    KAVO_ASSERT_MAIN_THREAD();
    // Not signed in yet, or busy at a table: the invitation is dropped. The check is
    // made here, on the main thread, where the top screen cannot change under it.
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    auto screen = std::dynamic_pointer_cast<KavoViewController>(top);
    if (std::dynamic_pointer_cast<LoginView>(top) || (screen && screen->isTableScreen())) {
        platform::log("invitation to game " + std::to_string(gameId) + " dropped: not in the lobby");
        return;
    }
    // Invitations may have been switched off, or another invitation's question is still
    // on screen (the flag goes with that dialog, however it went).
    if (!UIController::inviting() || UIController::kindOfDialog() == 1) {
        platform::log("invitation to game " + std::to_string(gameId) + " dropped: switched off or one is asked");
        return;
    }

    platform::Value invitation = platform::Value::emptyDictionary();
    invitation.set("gameid", int(gameId));
    invitation.set("roomid", int(roomId));
    invitation.set("boardid", int(boardId));
    invitation.set("password", password);
    invitation.set("message", message);
    invitation.set("levelRoom", int(levelRoom));
    invitation.set("idInvitor", int(inviterId));

    auto& res = Resources::getInstance();
    UIController::startCancelOkDlg(message, res.textWithKey("KAVO_cancel"), res.textWithKey("KAVO_OK"),
                                   {UIController::kActionInvitation, std::move(invitation)});
}

} // namespace kavo
