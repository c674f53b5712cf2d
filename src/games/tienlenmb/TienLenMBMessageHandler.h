#pragma once

#include "games/tienlen/TienLenMessageHandler.h"

#include <memory>

namespace kavo {

// The Tien Len MB handler (game type 12): Tien Len's commands and layouts, read into
// the MB logic handler; only the instant win's body (53) differs.
class TienLenMBMessageHandler : public TienLenMessageHandler {
public:
    static constexpr int8_t kGameType = 12;
    static const std::shared_ptr<TienLenMBMessageHandler>& getInstance();
    TienLenMBMessageHandler();

protected:
    // Exactly 13 card bytes after the winner; more are ignored, and a body that ends
    // early yields only the cards it holds (none is made up).
    void readForceFinishCards(ReplyReader& reader, CardInfo& info) const override;
};

} // namespace kavo
