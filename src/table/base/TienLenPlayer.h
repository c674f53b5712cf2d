#pragma once

#include "portal/model/Player.h"
#include "table/cards/PlayingCard.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// A player at a card table: the shared record plus the hand (in display order) and
// the settlement values of the card games. Main thread only, like the table screens
// that keep it.
class TienLenPlayer : public Player {
public:
    using Hand = std::vector<std::shared_ptr<PlayingCard>>;

    // Empties the hand (making it when there was none).
    void resetCard();
    // The ids of the lifted cards in hand order; empty when none is lifted.
    std::vector<uint8_t> getSelectedCardsValue() const;
    // Removes every card whose id, as an unsigned byte, is one of the first `length`
    // bytes; the others keep their order.
    void removeCards(const uint8_t* bytes, int length);
    void removeCards(const std::vector<uint8_t>& bytes) { removeCards(bytes.data(), int(bytes.size())); }
    // Drops every lifted card, from the last to the first.
    void unSelectAllCards();

    // nullptr until the first resetCard or setCards.
    const std::shared_ptr<Hand>& cards() const { return cards_; }
    void setCards(std::shared_ptr<Hand> cards) { cards_ = std::move(cards); }

    int64_t tienCuoc() const { return tienCuoc_; }
    void setTienCuoc(int64_t value) { tienCuoc_ = value; }
    int nBaiChia() const { return nBaiChia_; }
    void setNBaiChia(int value) { nBaiChia_ = value; }
    const std::string& diemSo() const { return diemSo_; }
    void setDiemSo(std::string value) { diemSo_ = std::move(value); }
    bool isDaXet() const { return isDaXet_; }
    void setIsDaXet(bool value) { isDaXet_ = value; }
    bool isInBoard() const { return isInBoard_; }
    void setIsInBoard(bool value) { isInBoard_ = value; }
    int winMoney() const { return winMoney_; }
    void setWinMoney(int value) { winMoney_ = value; }
    int winChi() const { return winChi_; }
    void setWinChi(int value) { winChi_ = value; }
    int mbType() const { return mbType_; }
    void setMbType(int value) { mbType_ = value; }

private:
    std::shared_ptr<Hand> cards_;
    int64_t tienCuoc_ = 0;
    int nBaiChia_ = 0;
    std::string diemSo_;
    bool isDaXet_ = false;
    bool isInBoard_ = false;
    int winMoney_ = 0;
    int winChi_ = 0;
    int mbType_ = 0;
};

} // namespace kavo
