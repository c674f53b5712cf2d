#include "portal/GlobalLogicHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

// Main-thread twin of an invitation to a board.

namespace kavo {

void GlobalLogicHandler::onInvitedJoinBoard(int8_t /*gameId*/, int8_t /*roomId*/, int8_t /*boardId*/,
                                            const std::string& /*password*/, const std::string& /*message*/,
                                            int8_t /*levelRoom*/, int32_t /*inviterId*/) {}

} // namespace kavo
