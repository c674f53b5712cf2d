#pragma once

#include "table/GameTableView.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// The base of the six four-seat card tables (Tien Len, Tien Len MB, Phom, Bai Cao,
// Xi Zach, Mau Binh). They share one layout ("TienLenView") and answer roomId/boardId.
class MauBinhResultView;

class GameCardView : public GameTableView {
public:
    GameCardView(int8_t gameType, std::string titleKey);

    // The Mau Binh result sheet, made with the screen.
    const std::shared_ptr<MauBinhResultView>& mauBinhResultView() const { return mauBinhResultView_; }

    // A card of my hand was lifted or dropped: the Tien Len tables check the
    // selection (their fire button); the others do nothing.
    virtual void checkValidSelectedCards() {}
    // Opens the table's stake sheet.
    virtual void showCuoc();

private:
    std::shared_ptr<MauBinhResultView> mauBinhResultView_;
};

} // namespace kavo
