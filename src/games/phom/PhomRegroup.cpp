#include "games/phom/PhomRegroup.h"

namespace kavo::phomregroup {

namespace {

using phommelds::kLoose;
using phommelds::kTrialTag;

bool inHand(const MeldHand& hand, int i) {
    return i >= 0 && size_t(i) < hand.size();
}

// The trial: the three cards carry the trial tag for a moment so that the meld tests
// see them as one meld; their own tags come back afterwards.
bool trial(MeldHand& hand, int i, int a, int b, bool& allowed, bool& set, Flags& flags) {
    if (!inHand(hand, i) || !inHand(hand, a) || !inHand(hand, b)) return false;
    auto& c = hand[size_t(i)];
    auto& x = hand[size_t(a)];
    auto& y = hand[size_t(b)];
    if (!phommelds::canBePhom(c.id, x.id, y.id)) return false;
    flags.oldEat = c.tag != kLoose && phommelds::isPhomAn(hand, c.tag);
    const int8_t tc = c.tag, tx = x.tag, ty = y.tag;
    c.tag = x.tag = y.tag = kTrialTag;
    allowed = phommelds::isPhomAn(hand, kTrialTag) || !flags.oldEat;
    set = phommelds::isPhomBaLa(hand, kTrialTag);
    c.tag = tc;
    x.tag = tx;
    y.tag = ty;
    return true;
}

bool eatenMeld(const MeldHand& hand, int i) {
    return inHand(hand, i) && hand[size_t(i)].tag != kLoose && phommelds::isPhomAn(hand, hand[size_t(i)].tag);
}

} // namespace

int placeOf(const MeldHand& hand, int ref) {
    for (size_t i = 0; i < hand.size(); ++i)
        if (hand[i].ref == ref) return int(i);
    return -1;
}

bool checkCardIndex(const MeldHand& hand, int i) {
    if (!inHand(hand, i - 1) || !inHand(hand, i + 1)) return true;
    const int8_t own = hand[size_t(i)].tag;
    return !(hand[size_t(i - 1)].tag == own && hand[size_t(i + 1)].tag == own);
}

bool checkLeft(MeldHand& hand, int i, Flags& flags) {
    if (i <= 1) return false;
    return trial(hand, i, i - 1, i - 2, flags.anLeft, flags.baLaLeft, flags);
}

bool checkRight(MeldHand& hand, int i, Flags& flags) {
    if (i >= int(hand.size()) - 2) return false;
    return trial(hand, i, i + 1, i + 2, flags.anRight, flags.baLaRight, flags);
}

bool checkMid(MeldHand& hand, int i, Flags& flags) {
    if (i <= 0 || i >= int(hand.size()) - 1) return false;
    if (eatenMeld(hand, i - 1) && eatenMeld(hand, i + 1)) return false;
    return trial(hand, i, i - 1, i + 1, flags.anMid, flags.baLaMid, flags);
}

Change decide(bool left, bool right, bool mid, const Flags& f) {
    if (left && right && mid) return Change::Right;
    if (left && right) {
        if (f.anLeft && !f.anRight) return Change::Left;
        if (f.anRight && !f.anLeft) return Change::Right;
        return Change::None;
    }
    if (left && mid) {
        if (!f.anMid) return f.anLeft ? Change::Left : Change::None;
        return f.anLeft && f.baLaLeft ? Change::Left : Change::Mid;
    }
    if (right && mid) {
        if (!f.anMid) return f.anRight ? Change::Right : Change::None;
        return !f.anRight || f.baLaMid ? Change::Mid : Change::Right;
    }
    if (left) return f.anLeft ? Change::Left : Change::None;
    if (right) return f.anRight ? Change::Right : Change::None;
    if (mid) return f.anMid ? Change::Mid : Change::None;
    return Change::None;
}

void apply(MeldHand& hand, int i, Change change, PhomTagCounter& counter) {
    if (change == Change::None || !inHand(hand, i)) return;
    auto dissolve = [&hand](int at) {
        if (inHand(hand, at) && hand[size_t(at)].tag != kLoose) phommelds::clearPhomMove(hand, hand[size_t(at)].tag);
    };
    dissolve(i);
    int a = i - 1, b = i - 2;
    if (change == Change::Left) {
        dissolve(i - 1);
    } else if (change == Change::Right) {
        dissolve(i + 1);
        a = i + 1;
        b = i + 2;
    } else {
        dissolve(i - 1);
        dissolve(i + 1);
        b = i + 1;
    }
    const int8_t tag = counter.next(hand);
    for (int at : {i, a, b})
        hand[size_t(at)].tag = tag;
    phommelds::intelligentSort(hand, counter);
}

Change checkDoiPhom(MeldHand& hand, int i, PhomTagCounter& counter) {
    if (!inHand(hand, i) || !checkCardIndex(hand, i)) return Change::None;
    Flags flags;
    const bool left = checkLeft(hand, i, flags);
    const bool right = checkRight(hand, i, flags);
    const bool mid = checkMid(hand, i, flags);
    const Change change = decide(left, right, mid, flags);
    apply(hand, i, change, counter);
    return change;
}

void dropCard(MeldHand& hand, int from, int to, PhomTagCounter& counter,
              const std::function<void(const MeldHand&)>& regrouped) {
    if (!inHand(hand, from) || to < 0 || to == from) return;
    auto check = [&](int at) {
        if (checkDoiPhom(hand, at, counter) != Change::None && regrouped) regrouped(hand);
        phommelds::intelligentSort(hand, counter);
    };
    const MeldCard moved = hand[size_t(from)];
    hand.erase(hand.begin() + from);
    if (size_t(to) >= hand.size())
        hand.push_back(moved);
    else
        hand.insert(hand.begin() + to, moved);
    int at = placeOf(hand, moved.ref);
    const int8_t tag = hand[size_t(at)].tag;
    if (tag == kLoose || !phommelds::isPhomAn(hand, tag)) {
        if (tag != kLoose) phommelds::clearPhomMove(hand, tag);
    } else {
        check(at);
    }
    at = placeOf(hand, moved.ref);
    if (hand[size_t(at)].tag == kLoose && inHand(hand, at - 1) && inHand(hand, at + 1)) {
        const auto& l = hand[size_t(at - 1)];
        const auto& r = hand[size_t(at + 1)];
        const bool eatenL = eatenMeld(hand, at - 1), eatenR = eatenMeld(hand, at + 1);
        if (!eatenL && !eatenR) {
            if (l.tag != kLoose && l.tag == r.tag) phommelds::clearPhomMove(hand, l.tag);
        } else {
            check(at);
        }
    }
    phommelds::findPhom2(hand, counter);
}

} // namespace kavo::phomregroup
