#include "games/xizach/XiZachView.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/xizach/XiZachMessageHandler.h"
#include "games/xizach/XiZachService.h"
#include "platform/foundation/Text.h"
#include "table/base/PlaySound.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/deal/TurnedCard.h"
#include "table/registry/GameController.h"

#include <cmath>

namespace kavo {

namespace {

constexpr uint8_t kFaceDown = 255;

int32_t myId() {
    return UIController::myInfo()->IDDB();
}

// The deck's picture by room level.
constexpr const char* kDeckPictures[] = {"bai_rut_binhdan.png", "bai_rut_daigia.png", "bai_rut_vip.png"};

// Where opening card `card` (0 or 1) comes to rest at a screen seat; w and h are the
// card's size on the table.
DealPlace placeOf(int seat, int card, double w, double h) {
    const double width = UIController::screenWidth();
    const double height = UIController::screenHeight();
    const bool pad = Util::isPad();
    const double r = card;
    const bool first = card == 0;
    switch (seat) {
    case 0:
        return {{width / 2 - 30 * Util::iPadX() + r * w, height - h / 2 - (pad ? 60 : 10)}, 0, {}};
    case 1:
        return {{width - (pad ? 160 : 90) - w / 2, height / 2 + (1 - r) * h / 3},
                first ? -M_PI / 1.7 : -M_PI / 2,
                first ? platform::ui::Point{4, -4} : platform::ui::Point{}};
    case 2:
        return {{width / 2 - r * w / 3, (pad ? 200 : 70) + h / 2},
                first ? M_PI / 1.2 : M_PI,
                first ? platform::ui::Point{-4, -6} : platform::ui::Point{}};
    default:
        return {{(pad ? 190 : 100) + w / 2, height / 2 - (1 - r) * h / 3},
                first ? M_PI / 2.3 : M_PI / 2,
                first ? platform::ui::Point{0, 4} : platform::ui::Point{}};
    }
}

} // namespace

XiZachView::XiZachView() : StakeTableView(XiZachMessageHandler::kGameType, "KAVO_xiZach") {}

void XiZachView::requestMaxPlayers(int8_t max) {
    XiZachService::getInstance().setMaxPlayerWithRoomId(roomId(), boardId(), max);
}

void XiZachView::viewDidLoad() {
    StakeTableView::viewDidLoad();
    waitToPlayNextSound_ = false;
    const auto board = imgBoard()->center();
    const auto deckSize = Util::changeSizeFromSize({35, 45});
    btnBaiTy_ = platform::ui::Button::make({0, 0, deckSize.width, deckSize.height});
    btnBaiTy_->setAccessibilityIdentifier("btnBaiTy");
    btnBaiTy_->setCenter({board.x, board.y - 20});
    const int level = GameController::getLevelRoom();
    btnBaiTy_->setBackgroundImage(Util::getImageWithName(kDeckPictures[level == 0 ? 0 : level == 1 ? 1 : 2]));
    btnBaiTy_->onTouchUpInside([this] { clickRutBai(); });
    view()->addSubview(btnBaiTy_);
    const auto arrowSize = Util::changeSizeFromSize({20, 30});
    imgNextMe_ = platform::ui::ImageView::make({0, 0, arrowSize.width, arrowSize.height});
    imgNextMe_->setAccessibilityIdentifier("imgNextMe");
    imgNextMe_->setImage(Util::getImageWithName("icon_next_me.png"));
    imgNextMe_->setCenter({board.x, btnBaiTy_->center().y - 40 * Util::iPad()});
    imgNextMe_->setHidden(true);
    view()->addSubview(imgNextMe_);
    btnFire()->onTouchUpInside([this] { clickFire(); });
}

void XiZachView::resetView() {
    StakeTableView::resetView();
    waitToPlayNextSound_ = false;
    arrowMoving_ = false;
}

void XiZachView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                      const std::vector<std::shared_ptr<Player>>& players) {
    StakeTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    setIsGameEnd(true);
}

std::string XiZachView::myStakeText(int32_t money) const {
    return Util::formatNumber(money) + " Zel";
}

// ---------------------------------------------------------------- the game

void XiZachView::setNextPlayer(int32_t playerId) {
    nextPlayer_.store(playerId);
    const bool mine = playerId == myId();
    btnAutoSelected()->setHidden(!mine);
    imgNextMe_->setHidden(!mine);
    if (mine) animationWhenNextIsMe();
}

void XiZachView::startWithInterval(int8_t interval, int32_t whoMove, const std::vector<uint8_t>& myCards) {
    Util::callRung();
    newGeneration();
    peek().dismiss();
    removeCardViews();
    setIsStartGame(true);
    setIsGameEnd(false);
    indexBaiNan_ = 0;
    daChiaBaiXong_ = false;
    diemso_.clear();
    turnSlot_ = -1;
    btnStart()->setHidden(true);
    setNextPlayer(whoMove);
    btnFire()->setHidden(false);
    const auto& list = players();
    for (size_t i = 0; i < list.size(); ++i) {
        auto player = cardPlayer(list[i]);
        if (!player) continue;
        player->setIsDaXet(false);
        player->setFinishPosition(-1);
        if (player->IDDB() == -1) continue;
        const bool mine = player->IDDB() == myId();
        auto hand = std::make_shared<TienLenPlayer::Hand>();
        for (int c = 0; c < kOpeningCards; ++c) {
            const int8_t id = mine && size_t(c) < myCards.size() ? int8_t(myCards[size_t(c)]) : int8_t(-1);
            hand->push_back(BCCardView::withCardID(id, true, player->IDDB(), false));
        }
        player->setCards(hand);
        if (mine) {
            seats()[0] = int(i);
            setSeatInfoWithSeat(0, player);
        }
    }
    assignSeatsFromMine();
    for (int s = 1; s < kSeats; ++s)
        if (auto player = playerAtSeat(s); player && player->IDDB() != -1) setSeatInfoWithSeat(s, player);
    dealer().start(
        {kSeats, kOpeningCards, 0.15}, [this](int seat, int pass) { return cardToDeal(seat, pass) != nullptr; },
        [this](int seat, int pass) { dealCard(seat, pass); },
        [this] {
            bringOverlaysToFront();
            daChiaBaiXong_ = true;
        },
        [this] {
            bringOverlaysToFront();
            btnFire()->setHidden(false);
        });
    showOKImageWithMode(1);
    setInterval(interval);
    setDieTime(interval);
    setTimerWithSeat(getSeatFromID(whoMove));
    schedulePlayerTime();
    setHiddenButtonSeat(true);
}

// Seats 0-3 get their first card, then their second.
void XiZachView::dealCard(int seat, int pass) {
    auto card = cardToDeal(seat, pass);
    if (!card) return;
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const auto size = card->frame().size;
    const platform::ui::Point deck{UIController::screenWidth() / 2.0, UIController::screenHeight() / 2.0};
    DealStepper::flyCard(card, *view(), deck, placeOf(seat, pass, size.width, size.height));
    peek().keepOnTop(*view());
}

void XiZachView::getRemainTimeWithPlayerId(int32_t playerId, int seconds) {
    // A turn reported after the game ended changes nothing.
    if (isGameEnd()) return;
    setNextPlayer(playerId);
    const bool owner = playerId == ownerId();
    const std::string name = owner ? text("KAVO_owner") : getPlayerNameFromID(playerId);
    const std::string line = text("KAVO_nextPlayer") + " " + name + "!";
    const int ownerSeat = getSeatFromID(ownerId());
    withdrawTurnNotice();
    turnSlot_ = owner ? 4 : ownerSeat < 0 ? 0 : ownerSeat;
    turnLine_ = line;
    showChatWithSeat(turnSlot_, line);
    setInterval(seconds);
    setDieTime(seconds);
    setTimerWithSeat(getSeatFromID(playerId));
    schedulePlayerTime();
    setHiddenButtonSeat(true);
}

void XiZachView::withdrawTurnNotice() {
    if (turnSlot_ < 0) return;
    // Still waiting behind another line, the notice of a turn that is over never shows.
    withdrawWaitingLine(turnSlot_, turnLine_);
    // Shown, it gives way to what waits behind it; a line that has taken its place stays.
    const auto& bubble = chat(turnSlot_);
    const auto label = bubble->subviews().empty() ? nullptr : bubble->subviews().front();
    if (!bubble->isHidden() && label && label->text() == turnLine_) showChatAtSeat(turnSlot_);
    turnSlot_ = -1;
}

void XiZachView::animationWhenNextIsMe() {
    if (arrowMoving_) return;
    arrowMoving_ = true;
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t made = generation();
    const auto deck = btnBaiTy_->center();
    const double iPad = Util::iPad();
    auto arrow = imgNextMe_;
    platform::ui::View::animate(
        0.4,
        [arrow, deck, iPad] {
            arrow->setCenter({deck.x, deck.y - 40 * iPad});
        },
        [weak, made, arrow, deck, iPad](bool) {
            auto self = std::dynamic_pointer_cast<XiZachView>(weak.lock());
            if (!self) return;
            if (self->generation() != made) {
                self->arrowMoving_ = false;
                return;
            }
            platform::ui::View::animate(
                0.4,
                [arrow, deck, iPad] {
                    arrow->setCenter({deck.x, deck.y - 20 * iPad});
                },
                [weak, made](bool) {
                    auto self = std::dynamic_pointer_cast<XiZachView>(weak.lock());
                    if (!self) return;
                    self->arrowMoving_ = false;
                    if (self->generation() != made || self->nextPlayer() != myId()) {
                        self->imgNextMe_->setHidden(true);
                        return;
                    }
                    self->animationWhenNextIsMe();
                });
        });
}

void XiZachView::rutBaiWithCardId(uint8_t cardId, int32_t playerId) {
    const int seat = getSeatFromID(playerId);
    auto record = cardPlayer(playerAtSeat(seat));
    // Nothing while I watch without cards (I came during a game) or for a player not seated.
    if (handOf(playerAtSeat(0)).empty() || seat < 0 || !record) return;
    // Read before the deal's steps have run (a slow client), the card would take its place from
    // an opening card still at the deck and stay there, over the deck: the deal ends first.
    if (dealer().isDealing()) dealer().finishNow();
    if (playerId == myId()) btnFire()->setHidden(false);
    PlaySound::playSoundWithSource(Resources::getInstance().bai_chia_bai());
    const auto earlier = handOf(record);
    auto card = BCCardView::withCardID(int8_t(cardId), true, playerId, false);
    if (!record->cards()) record->setCards(std::make_shared<TienLenPlayer::Hand>());
    record->cards()->push_back(card);
    const int n = int(record->cards()->size());
    card->setCenter({UIController::screenWidth() / 2.0, UIController::screenHeight() / 2.0});
    view()->addSubview(card);
    const double odd = n % 2 == 1 ? 2 : 0;
    platform::ui::View::animate(0.3, [&] {
        const double spread = -M_PI / (n + 18);
        for (const auto& old : earlier) {
            auto c = old->center();
            switch (seat) {
            case 0:
                old->setCenter({old->frame().origin.x, c.y});
                break;
            case 1:
            case 3:
                old->setTransform(old->transform().rotated(spread));
                old->setCenter({c.x, c.y + 10});
                break;
            default:
                old->setTransform(old->transform().rotated(spread));
                old->setCenter({c.x + 10, c.y});
                break;
            }
        }
        if (earlier.empty()) return;
        const auto& last = earlier.back();
        const auto at = last->center();
        switch (seat) {
        case 0:
            card->setCenter({last->frame().origin.x + 1.5 * last->frame().size.width, at.y});
            break;
        case 1:
            card->setTransform(card->transform().rotated(-M_PI / 2.3));
            card->setCenter({at.x - odd, at.y - 10});
            break;
        case 2:
            card->setTransform(card->transform().rotated(-M_PI / 1.2));
            card->setCenter({at.x - 10, at.y});
            break;
        default:
            card->setTransform(card->transform().rotated(M_PI / 1.7));
            card->setCenter({at.x + odd, at.y + 10});
            break;
        }
    });
    bringOverlaysToFront();
}

void XiZachView::moveWithPlayerId(int32_t playerId, const std::vector<uint8_t>& cards) {
    const int seat = getSeatFromID(playerId);
    if (seat < 0) return;
    if (playerId != ownerId()) {
        setCurrentCardsWithCardIDs(cards, seat);
        return;
    }
    const size_t held = handOf(playerAtSeat(seat)).size();
    if (held == cards.size())
        setCurrentCardsWithCardIDs(cards, seat);
    else if (held < cards.size())
        rutBaiWithCardId(cards.back(), playerId); // the owner drew it: it joins his fan
}

void XiZachView::setCurrentCardsWithCardIDs(const std::vector<uint8_t>& cards, int seat) {
    PlaySound::playSoundWithSource(Resources::getInstance().bai_lat_bai());
    const auto hand = handOf(playerAtSeat(seat));
    for (size_t i = 0; i < cards.size() && i < hand.size(); ++i) {
        if (cards[i] == kFaceDown || hand[i]->isChecked()) continue;
        layTurnedFace(*hand[i], cards[i]);
    }
}

void XiZachView::ShowDiemSoWithWho(int32_t playerId, const std::string& line) {
    if (isGameEnd()) {
        const int seat = getSeatFromID(playerId);
        if (seat >= 0 && seat <= 4) showChatWithSeat(seat, line);
        return;
    }
    if (playerId != myId()) return;
    btnFire()->setHidden(true);
    diemso_ = line;
}

void XiZachView::showCardsWithPlayers(const std::vector<XiZachHand>& hands) {
    if (auto card = peek().backCard()) backPointbaiNan(card);
    for (const auto& hand : hands) {
        std::vector<uint8_t> bytes;
        for (int c = 0; c < hand.count && c < XiZachHand::kMaxCards; ++c)
            bytes.push_back(uint8_t(hand.cards[size_t(c)] & 0xff));
        moveWithPlayerId(hand.playerId, bytes);
    }
    // Every hand lies face up now, mine too: a card I never turned is turned for me.
    for (const auto& card : handOf(playerAtSeat(0)))
        if (card->isTouch()) showMyCardWithCard(card);
    btnStart()->setHidden(false);
}

void XiZachView::stopGame() {
    Util::callRung();
    stopTurnClock();
    dealer().cancel();
    imgNextMe_->setHidden(true);
    setCurrentPlayer(-1);
    setIsStartGame(false);
    setIsGameEnd(true);
    UIController::myInfo()->setIsReady(ownerId() == myId() ? 1 : 0);
    setTimerWithSeat(-1);
    setHiddenButtonSeat(false);
    btnFire()->setHidden(true);
    btnAutoSelected()->setHidden(true);
    peek().dismiss();
    setKindOfStart(kContinue);
}

void XiZachView::playingWithInterval(int interval, int count) {
    StakeTableView::playingWithInterval(interval, count);
    btnStart()->setHidden(true);
}

void XiZachView::showHandAmount(const std::shared_ptr<Player>& player, int64_t amount) {
    if (!waitToPlayNextSound_) {
        PlaySound::playSoundWithSource(Resources::getInstance().com_trung_tien());
        waitToPlayNextSound_ = true;
        afterDelay(1.5, [](StakeTableView& self) { static_cast<XiZachView&>(self).waitToPlayNextSound_ = false; });
    }
    StakeTableView::showHandAmount(player, amount);
}

// ---------------------------------------------------------------- actions

void XiZachView::clickRutBai() {
    if (isGameEnd() || nextPlayer() != myId()) return;
    XiZachService::getInstance().moveWithRoomId(roomId(), boardId(), XiZachService::kDraw);
}

void XiZachView::clickAutomaticSelectedCards() {
    btnFire()->setHidden(true);
    XiZachService::getInstance().moveWithRoomId(roomId(), boardId(), XiZachService::kStand);
}

void XiZachView::checkHand(int32_t playerId) {
    if (nextPlayer() != myId() || ownerId() != myId()) return;
    auto player = cardPlayer(playerWithId(playerId));
    if (!player || player->isDaXet()) return;
    player->setIsDaXet(true);
    XiZachService::getInstance().xetBaiWithRoomId(roomId(), boardId(), playerId);
}

void XiZachView::xetBaiWithPlayer(int32_t playerId) {
    PeekTable::xetBaiWithPlayer(playerId);
    checkHand(playerId);
}

void XiZachView::clickViewPlayerInfo(platform::ui::Button& button) {
    const std::string title = button.titleForState(platform::ui::ControlState::Normal);
    if (title.empty()) return;
    if (isGameEnd()) {
        GameCardView::clickViewPlayerInfo(button);
        return;
    }
    // On the owner's turn a seat's info button asks for that hand whoever presses it, and
    // as often: the once-only flag is the card tap's, a refusal the server's to give.
    const int32_t playerId = int32_t(platform::parseLeadingInteger(title));
    auto player = cardPlayer(playerWithId(playerId));
    if (!player || player->isDaXet() || nextPlayer() != ownerId()) return;
    XiZachService::getInstance().xetBaiWithRoomId(roomId(), boardId(), playerId);
}

void XiZachView::clickFire() {
    if (!daChiaBaiXong_ || peek().isPeeking()) return;
    // Only a card already on the table: one still to be dealt has no place to go back to.
    for (const auto& card : handOf(myRecord())) {
        if (!card->isTouch() || card->superview() != view().get()) continue;
        beginNanbai(card);
        return;
    }
}

void XiZachView::beginNanbai(const std::shared_ptr<BCCardView>& card) {
    // As at the other three-card tables the back comes off under the cover; the card counts
    // as turned once the cover is dragged off it (backPointbaiNan), so a peek put away
    // unlooked leaves it face down.
    peek().begin(card, *view(), [](const std::shared_ptr<BCCardView>& zoomed) {
        if (zoomed->subviews().size() >= 2) zoomed->subviews().back()->removeFromSuperview();
    });
}

void XiZachView::backPointbaiNan(const std::shared_ptr<BCCardView>& card) {
    PeekTable::backPointbaiNan(card);
    peek().end(card, [this, card] {
        bringOverlaysToFront();
        showMyCardWithCard(card);
    });
}

void XiZachView::cardPeekedAway(const std::shared_ptr<BCCardView>& card) {
    if (card) backPointbaiNan(card->backCard());
}

void XiZachView::cardTapped(const std::shared_ptr<BCCardView>& card) {
    if (!card) return;
    if (card->isTouch())
        showMyCardWithCard(card);
    else
        xetBaiWithPlayer(card->playerID());
}

void XiZachView::showMyCardWithCard(const std::shared_ptr<BCCardView>& card) {
    PeekTable::showMyCardWithCard(card);
    // A card of mine still face down (touchable) turns once; a peek already took its back off.
    if (!card || !card->isTouch()) return;
    if (card->subviews().size() >= 2) {
        auto cover = card->subviews().back();
        std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
        const uint64_t made = generation();
        platform::ui::View::animate(
            0.4, [cover] { cover->setAlpha(0); },
            [weak, made, cover](bool) {
                auto self = weak.lock();
                auto* table = dynamic_cast<XiZachView*>(self.get());
                if (table && table->generation() == made) cover->removeFromSuperview();
            });
    }
    ++indexBaiNan_;
    card->setIsTouch(false);
    if (indexBaiNan_ >= 2 && !diemso_.empty()) showChatWithSeat(0, diemso_);
    if (btnFire()) btnFire()->setHidden(indexBaiNan_ >= int(handOf(playerAtSeat(0)).size()));
}

} // namespace kavo
