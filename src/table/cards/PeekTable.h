#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

class BCCardView;

// The hooks the three-card tables (Bai Cao, Cao Rua) and Xi Zach offer their cards:
// a peek finished, a card turned, all cards shown, another player's hand looked at.
// The games fill them in; here each call is only noted, in order, so the table can
// show what was asked of it. Main thread only.
class PeekTable {
public:
    virtual ~PeekTable() = default;
    virtual void showLoadingNanBai();
    virtual void doFireWithCardId(int8_t cardId);
    virtual void showAllCards();
    virtual void backPointbaiNan(const std::shared_ptr<BCCardView>& card);
    virtual void setHiddenBtnNan();
    virtual void showMyCardWithCard(const std::shared_ptr<BCCardView>& card);
    virtual void xetBaiWithPlayer(int32_t playerId);

    // What a card asks of its table. Here, as at Bai Cao and Cao Rua: a double tap shows
    // every card, a card of mine peeked far enough or tapped is turned (fired); Xi Zach
    // answers them its own way.
    virtual void cardDoubleTapped();
    virtual void cardPeekedAway(const std::shared_ptr<BCCardView>& card);
    virtual void cardTapped(const std::shared_ptr<BCCardView>& card);

    // "doFireWithCardId 7", "showAllCards", ... in the order asked.
    const std::vector<std::string>& peekCalls() const { return peekCalls_; }

protected:
    void note(std::string call) { peekCalls_.push_back(std::move(call)); }

private:
    std::vector<std::string> peekCalls_;
};

} // namespace kavo
