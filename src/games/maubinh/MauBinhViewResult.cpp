// The timed show of a hand's result: the special hands one every 5 s, the three hands
// compared one after another with their texts and highlights, then the result sheet,
// the money and the clean-up that frees the action queue.
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/maubinh/MauBinhRules.h"
#include "games/maubinh/MauBinhView.h"
#include "platform/ui/Font.h"
#include "table/sheets/MauBinhResultView.h"

#include <cstdlib>

namespace kavo {

using platform::ui::Color;
using platform::ui::Point;

namespace {

constexpr double kDrop = 0.25;
constexpr double kSpecialShown = 4.5;

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

Color yellow() {
    return Color::rgba(255, 220, 0);
}

std::pair<int, int> rangeOf(int chi) {
    switch (chi) {
    case 1:
        return {0, 3};
    case 2:
        return {3, 8};
    case 3:
        return {8, 13};
    default:
        return {0, 0};
    }
}

// "won 2 chi" / "lost 3 chi".
std::string chiText(bool won, int amount) {
    return text(won ? "KAVO_an" : "KAVO_lose1") + " " + std::to_string(std::abs(amount)) + " " + text("KAVO_chi");
}

std::shared_ptr<platform::ui::Label> markLabel(platform::ui::Rect frame, const std::string& line, double size) {
    auto label = platform::ui::Label::make(frame);
    label->setText(line);
    label->setBackgroundColor(Color::clear());
    label->setTextColor(yellow());
    label->setFont(platform::ui::Font::boldSystem(size));
    label->setTextAlignment(platform::ui::TextAlignment::Center);
    return label;
}

} // namespace

void MauBinhView::xapHamDaAch() {
    auto add = [this](const platform::ui::ViewPtr& mark) {
        mark->setTag(-1);
        vResultView_->addSubview(mark);
    };
    if (isXapHam_) {
        auto sweep = platform::ui::ImageView::make(Util::changeRectFromRect({20, 205, 80, 32}));
        sweep->setAccessibilityIdentifier("imgXapHam");
        sweep->setImage(Util::getImageWithName(Util::isVN() ? "maubinh_xap_ham_vi.png" : "maubinh_xap_ham_en.png"));
        add(sweep);
    }
    auto ace = platform::ui::ImageView::make(Util::changeRectFromRect({20, 240, 25, 32}));
    ace->setImage(Util::getImageWithName("maubinh_ach.png"));
    add(ace);
    const std::string count = (countAch_ >= 1 ? "+" : "") + std::to_string(countAch_) + " " + text("KAVO_chi");
    auto label = markLabel(Util::changeRectFromRect({50, 246, 80, 20}), count, 14 * Util::iPad());
    label->setTextAlignment(platform::ui::TextAlignment::Left);
    label->setAccessibilityIdentifier("lblAch");
    add(label);
}

void MauBinhView::scheduleSpecialHand(const TienLenPlayer::Hand& cards, const std::string& name, int type) {
    const double delay = kStep * countMauBinh_;
    after(delay, [this, cards, name, type] {
        showMauBinhScreen(cards);
        showMauBinhWithParams(name, type);
    });
    after(delay + kSpecialShown, [this] { removeMauBinhScreen(); });
}

void MauBinhView::animationResult() {
    countMauBinh_ = 0;
    for (size_t i = 0; i < players().size(); ++i) {
        auto player = tienLenPlayer(i);
        if (!player || player->IDDB() != myId() || player->mbType() < 0) continue;
        if (player->cards()) scheduleSpecialHand(*player->cards(), player->name(), player->mbType());
        ++countMauBinh_;
    }
    for (const auto& row : myResult_) {
        if (row.mbType < 0 || row.userID == myId()) continue;
        auto player = playerWithIdTL(row.userID);
        if (player && player->cards()) scheduleSpecialHand(*player->cards(), player->name(), row.mbType);
        ++countMauBinh_;
    }
    // The drop starts after the special hands; the hands follow one step apart.
    after(kStep * countMauBinh_, [this] {
        std::vector<std::shared_ptr<platform::ui::View>> moving;
        if (auto* hand = getMyCard())
            for (const auto& card : *hand)
                moving.push_back(card->cardView().self());
        for (const auto& place : cardPlaces_)
            moving.push_back(place);
        const double drop = 50 * Util::iPadY();
        auto result = vResultView_;
        platform::ui::View::animate(
            kDrop,
            [moving, drop, result] {
                for (const auto& view : moving)
                    view->setCenter({view->center().x, view->center().y + drop});
                result->setAlpha(1.0);
            },
            guarded([this] {
                after(kStep * countMauBinh_, [this] {
                    animationTextChi(1);
                    animationShowChi(1);
                });
                ++countMauBinh_;
                after(kStep * countMauBinh_, [this] {
                    unHightLightChi(1);
                    animationTextChi(2);
                    animationShowChi(2);
                });
                ++countMauBinh_;
                after(kStep * countMauBinh_, [this] {
                    unHightLightChi(2);
                    animationTextChi(3);
                    animationShowChi(3);
                });
                ++countMauBinh_;
                after(kStep * countMauBinh_, [this] {
                    unHightLightChi(3);
                    animationFinalResult();
                    finishResult();
                });
            }));
    });
}

void MauBinhView::showMauBinhScreen(const TienLenPlayer::Hand& cards) {
    for (const auto& child : std::vector<platform::ui::ViewPtr>(vBackGroundView_->subviews()))
        if (dynamic_cast<CardViewPhom*>(child.get()) || dynamic_cast<platform::ui::Label*>(child.get()))
            child->removeFromSuperview();
    vBoardView_->addSubview(vBackGroundView_);
    vBackGroundView_->setBackgroundColor(Color::rgba(10, 70, 40));
    for (size_t i = 0; i < cards.size(); ++i) {
        auto card = std::dynamic_pointer_cast<CardViewPhom>(cards[i]);
        if (!card) continue;
        vBackGroundView_->addSubview(card);
        const Point to{i * card->frame().width() * 0.6 + 60 * Util::iPadX(), 265 * Util::iPadY()};
        platform::ui::View::animate(kDrop, [card, to] { card->setCenter(to); });
        if (i < bigSlots_.size()) animationZoomOutCard(card, bigSlots_[i]);
    }
}

void MauBinhView::showMauBinhWithParams(const std::string& name, int type) {
    const double size = Util::iPad();
    auto who = markLabel(Util::changeRectFromRect({50, 15, 200, 20}), name, 16 * size);
    who->setAccessibilityIdentifier("lblSpecialName");
    vBackGroundView_->addSubview(who);
    const char* key = MauBinhRules::specialHandKey(type);
    auto what = markLabel(Util::changeRectFromRect({0, 35, 480, 30}), *key ? text(key) : "", 24 * size);
    what->setAccessibilityIdentifier("lblSpecialHand");
    vBackGroundView_->addSubview(what);
}

void MauBinhView::removeMauBinhScreen() {
    for (const auto& child : std::vector<platform::ui::ViewPtr>(vBackGroundView_->subviews()))
        if (dynamic_cast<CardViewPhom*>(child.get()) || dynamic_cast<platform::ui::Label*>(child.get()))
            child->removeFromSuperview();
    vBackGroundView_->removeFromSuperview();
}

void MauBinhView::animationShowChi(int chi) {
    const auto [from, to] = rangeOf(chi);
    if (from == to) return;
    if (chi > 1) {
        for (const auto& child : std::vector<platform::ui::ViewPtr>(vResultView_->subviews())) {
            if (child->tag() == -1) continue;
            child->removeFromSuperview();
            child->setTransform(platform::ui::AffineTransform::scale(0.6, 0.6));
            vBoardView_->addSubview(child);
        }
    }
    vResultView_->removeFromSuperview();
    vBoardView_->addSubview(vResultView_);
    for (size_t p = 0; p < players().size(); ++p) {
        auto player = tienLenPlayer(p);
        if (!player || player->mbType() >= 0 || !player->cards()) continue;
        for (int i = from; i < to && size_t(i) < player->cards()->size(); ++i) {
            auto& card = (*player->cards())[size_t(i)]->cardView();
            const Point centre =
                card.superview() ? card.superview()->convertPoint(card.center(), vResultView_.get()) : card.center();
            auto self = card.self();
            self->removeFromSuperview();
            self->setTransform(platform::ui::AffineTransform::scale(0.8, 0.8));
            self->setCenter(centre);
            vResultView_->addSubview(self);
            if (player->IDDB() == myId() && size_t(i) < cardPlaces_.size())
                cardPlaces_[size_t(i)]->setTransform(platform::ui::AffineTransform::scale(0.8, 0.8));
        }
    }
}

Point MauBinhView::seatTextPoint(int s) const {
    const double w = int(40 * Util::iPad());
    const Point centre = seat(s).cpiSeat->center();
    switch (s) {
    case 0:
        return {340 * Util::iPadX() - w, centre.y};
    case 1:
        return {420 * Util::iPadX() - w, centre.y};
    case 2:
        return {centre.x - w - 30 * Util::iPad(), centre.y};
    default:
        return {centre.x - w - 25 * Util::iPad(), centre.y};
    }
}

void MauBinhView::animationTextChi(int chi) {
    const int size = int(13 * Util::iPad());
    auto valueOf = [chi](const MauBinhResult& row) {
        return chi == 1 ? row.winChi1 : chi == 2 ? row.winChi2 : row.winChi3;
    };
    int sum = 0;
    for (size_t p = 0; p < players().size(); ++p) {
        auto player = tienLenPlayer(p);
        if (!player) continue;
        for (const auto& row : myResult_) {
            if (row.userID != player->IDDB() || row.mbType >= 0) continue;
            // A row's hand result is seen from my side: what it wins I lose.
            const int n = valueOf(row);
            const int s = getSeatFromID(player->IDDB());
            if (s >= 0 && s < kSeats) addFlyText(chiText(n < 1, n), seatTextPoint(s), size);
            sum += n;
            // The colour marks the cards only; the rising text stays yellow.
            const Color colour = n < 0 ? Color::rgba(0, 255, 0) : n == 0 ? Color::white() : Color::rgba(255, 0, 0);
            animationHightLightChi(chi, colour, player->IDDB());
        }
    }
    auto me = playerWithIdTL(myId());
    if (!me || me->mbType() >= 0) return;
    addFlyText(chiText(sum >= 0, sum), Util::changePointFromPoint({320, 220}), size);
    const Color colour = sum > 0 ? Color::rgba(0, 255, 0) : sum == 0 ? Color::white() : Color::rgba(255, 0, 0);
    risingTexts_.back()->setAccessibilityIdentifier("lblMyTotal");
    animationHightLightChi(chi, colour, myId());
}

void MauBinhView::animationHightLightChi(int chi, Color color, int32_t playerId) {
    const auto [from, to] = rangeOf(chi);
    auto player = playerWithIdTL(playerId);
    if (!player || !player->cards()) return;
    for (int i = from; i < to && size_t(i) < player->cards()->size(); ++i)
        if (auto card = std::dynamic_pointer_cast<CardViewPhom>((*player->cards())[size_t(i)]))
            card->setHighLightWithColor(color);
}

void MauBinhView::unHightLightChi(int chi) {
    const auto [from, to] = rangeOf(chi);
    for (size_t p = 0; p < players().size(); ++p) {
        auto player = tienLenPlayer(p);
        if (!player || !player->cards()) continue;
        for (int i = from; i < to && size_t(i) < player->cards()->size(); ++i)
            if (auto card = std::dynamic_pointer_cast<CardViewPhom>((*player->cards())[size_t(i)]))
                card->unsetHighLightWithWidth();
    }
}

void MauBinhView::addFlyText(const std::string& line, Point at, int) {
    auto label = markLabel({at.x, at.y, 100 * Util::iPadX(), 40 * Util::iPadY()}, line, 16 * Util::iPad());
    label->setAccessibilityIdentifier("lblFlyText");
    view()->addSubview(label);
    risingTexts_.push_back(label);
    const Point to{label->center().x, label->center().y - 5};
    platform::ui::View::animate(
        5.0, [label, to] { label->setCenter(to); }, [label](bool) { label->removeFromSuperview(); });
}

void MauBinhView::animationFinalResult() {
    vBackGroundView_->setAlpha(0);
    auto& sheet = *mauBinhResultView();
    sheet.resetListResult();
    auto entries = [this, &sheet](const std::shared_ptr<TienLenPlayer>& player) {
        const int c = player->winChi();
        const int m = player->winMoney();
        sheet.listResult().push_back(player->name());
        sheet.listResult().push_back(chiText(c >= 0, c));
        sheet.listResult().push_back(Util::formatSignedNumber(m));
        addHandAmount(player->IDDB(), m);
    };
    if (auto me = playerWithIdTL(myId())) {
        sheet.setIsWin(me->winChi() >= 0);
        entries(me);
    }
    for (size_t p = 0; p < players().size(); ++p) {
        auto player = tienLenPlayer(p);
        if (player && player->IDDB() != -1 && player->IDDB() != myId()) entries(player);
    }
    view()->addSubview(sheet.view());
    sheet.viewWillAppear(false);
}

void MauBinhView::finishResult() {
    setIsGameEnd(true);
    for (const auto& place : cardPlaces_) {
        place->setTransform(platform::ui::AffineTransform::identity());
        const auto origin = place->frame().origin;
        place->setFrame({origin.x, origin.y, 28 * Util::iPadX(), 36 * Util::iPadY()});
        place->setCenter({place->center().x, place->center().y - 50 * Util::iPadY()});
        vBoardView_->insertSubview(place, 0);
    }
    clearView();
    vResultView_->removeAllSubviews();
    vResultView_->setAlpha(0);
    risingTexts_.clear();
    actionStatus_ = kDone;
}

void MauBinhView::showCardOfPlayer(const std::shared_ptr<TienLenPlayer>& player) {
    if (!player || !player->cards()) return;
    for (const auto& card : *player->cards())
        card->cardView().removeFromSuperview();
    const int s = getSeatFromID(player->IDDB());
    if (s < 0 || s >= kSeats) return;
    if (s == 0) {
        drawMyCard();
        return;
    }
    const Point base = s == 1 ? Point{340, 140} : s == 2 ? Point{310, 60} : Point{90, 140};
    const double x = base.x * Util::iPadX();
    const double y = base.y * Util::iPadY();
    for (size_t i = 0; i < player->cards()->size(); ++i) {
        auto& card = (*player->cards())[i]->cardView();
        card.setTransform(platform::ui::AffineTransform::scale(0.5, 0.5));
        const double w = card.frame().width();
        const double h = card.frame().height();
        if (i < 3)
            card.setCenter({x + i * w / 2 + w / 2, y});
        else if (i < 8)
            card.setCenter({x + (i - 3) * w / 2, y + h / 2});
        else if (i < 13)
            card.setCenter({x + (i - 8) * w / 2, y + h});
        vBoardView_->addSubview(card.self());
    }
}

} // namespace kavo
