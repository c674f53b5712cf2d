#include "tools/portal-stub/StubTienLenMBRules.h"

#include "games/tienlenmb/CardMBUtils.h"

#include <algorithm>
#include <bit>

namespace portalstub {

using kavo::CardMBUtils;
using kavo::CardUtils;

namespace {

// Hands are dealt 13 cards; the search below is over every choice of cards from one.
constexpr size_t kLargestHand = 13;

bool beats(const StubTienLenMBRules::Cards& mine, const StubTienLenMBRules::Cards& table) {
    const int typeMine = CardMBUtils::getType(mine);
    if (typeMine == CardUtils::kNone) return false;
    if (table.empty()) return true;
    return CardMBUtils::available(mine.data(), int(mine.size()), typeMine, table.data(), int(table.size()),
                                  CardMBUtils::getType(table));
}

// Whether `play` (ascending) takes each card at most once out of `hand` (ascending).
bool heldIn(const StubTienLenMBRules::Cards& play, const StubTienLenMBRules::Cards& hand) {
    return std::adjacent_find(play.begin(), play.end()) == play.end() &&
           std::includes(hand.begin(), hand.end(), play.begin(), play.end());
}

int mbType(const std::vector<int8_t>& cards) {
    return CardMBUtils::getType(cards);
}

bool mbBeats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table, int tableType) {
    return CardMBUtils::available(mine.data(), int(mine.size()), mineType, table.data(), int(table.size()), tableType);
}

constexpr StubCardRules kTienLenMB{&mbType, &mbBeats, &StubTienLenMBRules::claimHolds, &StubTienLenMBRules::answer};

} // namespace

const StubCardRules& stubTienLenMBCardRules() {
    return kTienLenMB;
}

StubTienLenMBRules::Cards StubTienLenMBRules::answer(const Cards& tableCards, const Cards& handCards) {
    const Cards table = CardMBUtils::sorted(tableCards);
    const Cards hand = CardMBUtils::sorted(handCards);
    if (hand.empty() || hand.size() > kLargestHand) return {};
    if (table.empty()) return {hand[0]};
    const size_t length = table.size();
    const bool single = length == 1;
    Cards best;
    for (uint32_t mask = 1; mask < (1u << hand.size()); ++mask) {
        if (size_t(std::popcount(mask)) != length) continue;
        Cards choice;
        for (size_t i = 0; i < hand.size(); ++i)
            if (mask & (1u << i)) choice.push_back(hand[i]);
        if (CardMBUtils::getType(choice) != CardMBUtils::getType(table) || !beats(choice, table)) continue;
        if (!single && !CardMBUtils::isSameTypeAndColor(choice.data(), int(length), table.data(), int(length)))
            continue;
        const auto lower = [](const Cards& a, const Cards& b) {
            return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend());
        };
        if (best.empty() || lower(choice, best)) best = std::move(choice);
    }
    return best;
}

bool StubTienLenMBRules::allows(const Cards& table, const Cards& hand, const Cards& play) {
    const Cards mine = CardMBUtils::sorted(play);
    return !mine.empty() && heldIn(mine, CardMBUtils::sorted(hand)) && beats(mine, CardMBUtils::sorted(table));
}

bool StubTienLenMBRules::claimHolds(const Cards& dealt, bool firstMatch, bool movesFirst) {
    const Cards hand = CardMBUtils::sorted(dealt);
    if (CardMBUtils::checkForceFinish(hand.data(), int(hand.size()), firstMatch)) return true;
    return (firstMatch || movesFirst) && CardMBUtils::checkForceFinishWith3DoiThongCo3Bich(hand);
}

kavo::Message StubTienLenMBRules::forceFinishMessage(int8_t roomId, int8_t boardId, int32_t winner, const Cards& hand) {
    kavo::Message message(53);
    message.writeByte(boardId);
    message.writeByte(roomId);
    message.writeInt(winner);
    for (size_t i = 0; i < hand.size() && i < 13; ++i)
        message.writeByte(hand[i]);
    return message;
}

} // namespace portalstub
