#pragma once

#include "games/cotuong/CoTuongLogicHandler.h"

namespace kavo {

class CoUpView;

// Carries each parsed hidden-piece event to the hidden-piece table screen: the Chinese
// chess handler's operations and twins, acting on CoUpView, plus the captured pieces.
class CoUpLogicHandler : public CoTuongLogicHandler {
public:
    static CoUpLogicHandler& getInstance();

    // Reader thread: hands the list to the screen's panel, with no table check.
    virtual void onGetEatPiece(std::vector<EatPiece> list);

protected:
    CoUpLogicHandler() = default;

    std::shared_ptr<CoTuongView> table() const override;
    bool isTable(const platform::ui::ViewControllerPtr& controller) const override;
    void showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                   const ChessPlayerList& players) const override;
};

} // namespace kavo
