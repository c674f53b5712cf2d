#include "games/tienlenmb/CardMBUtils.h"

#include <algorithm>
#include <functional>
#include <span>

namespace kavo {

namespace {

using Indexes = CardMBUtils::Indexes;

// The first hand index from the lowest that `wanted` takes and `used` does not hold.
int firstWhere(const std::vector<int8_t>& hand, const Indexes& used, const std::function<bool(int8_t)>& wanted) {
    for (size_t i = 0; i < hand.size(); ++i)
        if (wanted(hand[i]) && std::find(used.begin(), used.end(), uint8_t(i)) == used.end()) return int(i);
    return -1;
}

// Auto select as data: for each shape of the table, the finders tried in order with
// the minimum each starts from; the first find wins.
enum class Finder { Single, Twin, Triple, Quart, Series, ThreePairs, FourPairs };
enum class From { Threshold, TableTop, Anything }; // the threshold t, the table's top card, -1
enum class Only { Always, ThresholdAboveTop, ThresholdNotAboveTop };
struct Step {
    Finder finder;
    From from;
    Only only = Only::Always;
};

constexpr Step kOnSingle[] = {{Finder::Single, From::Threshold},
                              {Finder::Single, From::TableTop, Only::ThresholdAboveTop}};
// A single 2 is chopped first when the hand can.
constexpr Step kOnSingleTwo[] = {{Finder::ThreePairs, From::Anything},
                                 {Finder::Quart, From::Anything},
                                 {Finder::FourPairs, From::Anything},
                                 {Finder::Single, From::Threshold},
                                 {Finder::Single, From::TableTop, Only::ThresholdAboveTop}};
constexpr Step kOnPair[] = {{Finder::Twin, From::Threshold}};
constexpr Step kOnPairOfTwos[] = {
    {Finder::Twin, From::Threshold}, {Finder::Quart, From::Anything}, {Finder::FourPairs, From::Anything}};
constexpr Step kOnTriple[] = {{Finder::Triple, From::Threshold},
                              {Finder::Triple, From::TableTop, Only::ThresholdAboveTop}};
constexpr Step kOnQuart[] = {{Finder::Quart, From::Threshold},
                             {Finder::Quart, From::TableTop, Only::ThresholdAboveTop},
                             {Finder::FourPairs, From::Anything, Only::ThresholdNotAboveTop}};
constexpr Step kOnThreePairs[] = {
    {Finder::ThreePairs, From::Threshold}, {Finder::Quart, From::Anything}, {Finder::FourPairs, From::Anything}};
constexpr Step kOnFourPairs[] = {{Finder::FourPairs, From::TableTop}};
constexpr Step kOnStraight[] = {{Finder::Series, From::Threshold}};

std::span<const Step> stepsFor(const int8_t* table, int length) {
    switch (length) {
    case 1:
        return CardUtils::isTwo(table[0]) ? std::span<const Step>(kOnSingleTwo) : kOnSingle;
    case 2:
        return CardUtils::isTwo(table[0]) && CardUtils::isTwo(table[1]) ? std::span<const Step>(kOnPairOfTwos)
                                                                        : kOnPair;
    case 3:
        if (CardMBUtils::is3la(table, length)) return kOnTriple;
        return CardMBUtils::isSanh(table, length) ? std::span<const Step>(kOnStraight) : std::span<const Step>();
    case 4:
        if (CardMBUtils::isTuQuy(table, length)) return kOnQuart;
        return CardMBUtils::isSanh(table, length) ? std::span<const Step>(kOnStraight) : std::span<const Step>();
    case 6:
        return CardMBUtils::is3DoiThong(table, length) ? std::span<const Step>(kOnThreePairs) : kOnStraight;
    case 8:
        return CardMBUtils::is4DoiThong(table, length) ? std::span<const Step>(kOnFourPairs) : kOnStraight;
    case 5:
    case 7:
    case 9:
    case 10:
    case 11:
        return kOnStraight;
    default:
        return {};
    }
}

Indexes runStep(const Step& step, int threshold, const std::vector<int8_t>& ids, const int8_t* table, int length) {
    const int top = table[length - 1];
    if (step.only == Only::ThresholdAboveTop && threshold <= top) return {};
    if (step.only == Only::ThresholdNotAboveTop && threshold > top) return {};
    const int minimum = step.from == From::Threshold ? threshold : step.from == From::TableTop ? top : -1;
    switch (step.finder) {
    case Finder::Single:
        return CardMBUtils::findAndSelectSingle(minimum, ids);
    case Finder::Twin:
        return CardMBUtils::findAndSelectTwin(minimum, ids);
    case Finder::Triple:
        return CardMBUtils::findAndSelectTriple(minimum, ids, table, length);
    case Finder::Quart:
        return CardMBUtils::findAndSelectQuart(minimum, ids);
    case Finder::Series:
        return CardMBUtils::findAndSelectSeries(minimum, ids, length);
    case Finder::ThreePairs:
        return CardMBUtils::findDoubleSequence(minimum, ids, 3, table, length);
    case Finder::FourPairs:
        return CardMBUtils::findDoubleSequence(minimum, ids, 4, table, length);
    }
    return {};
}

// A card of a run of pairs stands beside its partner in the ascending hand: the card
// of its rank one suit lower before an odd id, one suit higher after an even one.
bool besideItsPartner(const std::vector<int8_t>& hand, int position) {
    const int8_t id = hand[size_t(position)];
    return id % 2 != 0 ? hand[size_t(position - 1)] == id - 1 : hand[size_t(position + 1)] == id + 1;
}

} // namespace

Indexes CardMBUtils::autoSelect(const int8_t* table, int lengthTable, SelectableHand& hand) {
    // On a clear table there is no suit to follow: the choice is Tien Len's.
    if (table == nullptr || lengthTable < 1) return CardUtils::autoSelect(nullptr, 0, hand);
    int threshold = table[lengthTable - 1];
    for (int8_t id : hand.selectedIds())
        threshold = std::max(threshold, int(id));
    hand.unSelectAll();
    const std::vector<int8_t> ids = hand.handIds();
    Indexes answer;
    for (const Step& step : stepsFor(table, lengthTable)) {
        answer = runStep(step, threshold, ids, table, lengthTable);
        if (!answer.empty()) break;
    }
    for (uint8_t index : answer)
        hand.selectAt(index);
    return answer;
}

Indexes CardMBUtils::findAndSelectSingle(int minimum, const std::vector<int8_t>& hand) {
    const int index = firstWhere(
        hand, {}, [&](int8_t id) { return id > minimum && (suit(id) == minimum % 4 || CardUtils::isTwo(id)); });
    return index < 0 ? Indexes{} : Indexes{uint8_t(index)};
}

Indexes CardMBUtils::findAndSelectTwin(int minimum, const std::vector<int8_t>& hand) {
    const int followed = minimum % 4;
    for (size_t i = 0; i < hand.size(); ++i) {
        const int8_t card = hand[i];
        if (card <= minimum) continue;
        const Indexes self{uint8_t(i)};
        int partner = -1;
        if (suit(card) == followed)
            partner = firstWhere(hand, self, [&](int8_t id) {
                return CardUtils::rank(id) == CardUtils::rank(card) && suit(id) == followed - 1;
            });
        if (partner < 0 && CardUtils::isTwo(card)) partner = firstWhere(hand, self, &CardUtils::isTwo);
        if (partner >= 0) return {uint8_t(i), uint8_t(partner)};
    }
    return {};
}

Indexes CardMBUtils::findAndSelectTriple(int minimum, const std::vector<int8_t>& hand, const int8_t* table,
                                         int lengthTable) {
    if (table == nullptr || lengthTable < 2) return {};
    const int followed = minimum % 4;
    for (size_t i = 0; i < hand.size(); ++i) {
        const int8_t card = hand[i];
        if (card <= minimum || suit(card) != followed) continue;
        const auto partnerOf = [&](int8_t id) {
            return CardUtils::rank(id) == CardUtils::rank(card) &&
                   (suit(id) == suit(table[0]) || suit(id) == suit(table[1]));
        };
        Indexes found{uint8_t(i)};
        for (int n = 0; n < 2; ++n) {
            const int partner = firstWhere(hand, found, partnerOf);
            if (partner < 0) break;
            found.push_back(uint8_t(partner));
        }
        if (found.size() == 3) return {found[1], found[2], found[0]};
    }
    return {};
}

Indexes CardMBUtils::findAndSelectSeries(int minimum, const std::vector<int8_t>& hand, int length) {
    if (length < 1 || int(hand.size()) < length) return {};
    const int followed = minimum % 4;
    for (size_t i = 0; i < hand.size(); ++i) {
        const int8_t top = hand[i];
        if (top <= minimum || CardUtils::isTwo(top) || suit(top) != followed) continue;
        Indexes found{uint8_t(i)};
        for (int k = 1; k < length; ++k) {
            const int j = firstWhere(hand, {}, [&](int8_t id) {
                return CardUtils::rank(id) == CardUtils::rank(top) - k && suit(id) == followed;
            });
            if (j < 0) break;
            found.push_back(uint8_t(j));
        }
        if (int(found.size()) == length) return found;
    }
    return {};
}

namespace {

// Each pair's partner check holds on its own, but neighbouring pairs may still differ in
// colour, and such a run can never be fired; nor can one that does not beat the table.
bool playableRun(const std::vector<int8_t>& hand, const Indexes& found, int pairs, const int8_t* table,
                 int lengthTable) {
    std::vector<int8_t> run;
    for (uint8_t index : found)
        run.push_back(hand[index]);
    run = CardMBUtils::sorted(std::move(run));
    const int length = int(run.size());
    if (!CardMBUtils::isSameColor(run.data(), length)) return false;
    if (pairs == 3 && !CardMBUtils::is3DoiThong(run.data(), length)) return false;
    if (pairs == 4 && !CardMBUtils::is4DoiThong(run.data(), length)) return false;
    if (table == nullptr || lengthTable < 1) return true;
    return CardMBUtils::available(run.data(), length, CardMBUtils::getType(run), table, lengthTable,
                                  CardMBUtils::getType(table, lengthTable));
}

} // namespace

Indexes CardMBUtils::findDoubleSequence(int minimum, const std::vector<int8_t>& hand, int pairs, const int8_t* table,
                                        int lengthTable) {
    const int count = int(hand.size());
    if (pairs < 1) return {};
    for (int candidate = 0; candidate < count; ++candidate) {
        const int8_t top = hand[size_t(candidate)];
        if (top <= minimum || CardUtils::isTwo(top)) continue;
        Indexes found;
        for (int k = 0; k < pairs; ++k) {
            int taken = 0;
            for (int p = 1; p <= count - 2 && taken < 2; ++p) {
                if (CardUtils::rank(hand[size_t(p)]) != CardUtils::rank(top) - k || !besideItsPartner(hand, p))
                    continue;
                found.push_back(uint8_t(p));
                ++taken;
            }
            if (taken < 2) break;
        }
        if (int(found.size()) == 2 * pairs && playableRun(hand, found, pairs, table, lengthTable)) return found;
    }
    return {};
}

} // namespace kavo
