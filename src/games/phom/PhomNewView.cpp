#include "games/phom/PhomNewView.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/phom/PhomNewMessageHandler.h"
#include "games/phom/PhomNewService.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Touch.h"
#include "table/base/PlaySound.h"
#include "table/base/TableWidgets.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"

#include <algorithm>
#include <optional>

namespace kavo {

namespace {

// The action button's titles by kind; any other kind hides the button.
constexpr std::pair<int, const char*> kFireTitles[] = {
    {PhomNewView::kCmdFire, "KAVO_fire"},       {PhomNewView::kCmdHaPhom, "KAVO_haPhom"},
    {PhomNewView::kCmdEatAndGet, "KAVO_eat"},   {PhomNewView::kCmdGet, "KAVO_get"},
    {PhomNewView::kCmdGuiPhom, "KAVO_guiPhom"},
};

// The stock's picture by room level.
const char* stockPicture(int level) {
    return level == 0 ? "bai_rut_binhdan.png" : level == 1 ? "bai_rut_daigia.png" : "bai_rut_vip.png";
}

} // namespace

PhomNewView::PhomNewView() : GameCardView(PhomNewMessageHandler::kGameType, "KAVO_phom") {
    for (auto& row : cardShow_)
        row.fill(-1);
    for (auto& row : showHaPhom_)
        row.fill(-1);
    for (auto& row : showCardEat_)
        row.fill(-1);
    for (auto& row : cardRac_)
        row.fill(-1);
    cardToEat_.fill(-1);
}

PhomNewView::~PhomNewView() {
    for (auto* timer : {&dealTimer_, &slideTimer_, &nextMeTimer_})
        if (*timer) (*timer)->invalidate();
}

bool PhomNewView::isMe(int32_t playerId) const {
    const auto me = UIController::myInfo();
    return me && playerId == me->IDDB();
}

std::shared_ptr<TienLenPlayer> PhomNewView::tienLenPlayer(size_t index) const {
    if (index >= players().size()) return nullptr;
    return std::dynamic_pointer_cast<TienLenPlayer>(players()[index]);
}

// ---------------------------------------------------------------- generations

void PhomNewView::newGeneration() {
    ++generation_;
    cancelDeal();
    if (nextMeTimer_) nextMeTimer_->invalidate();
    nextMeTimer_.reset();
}

void PhomNewView::cancelDeal() {
    for (auto* timer : {&dealTimer_, &slideTimer_}) {
        if (*timer) (*timer)->invalidate();
        timer->reset();
    }
}

std::shared_ptr<platform::Timer> PhomNewView::later(double seconds, std::function<void(PhomNewView&)> step) {
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t generation = generation_;
    return platform::Timer::scheduled(seconds, false, [weak, generation, step = std::move(step)] {
        auto self = std::dynamic_pointer_cast<PhomNewView>(weak.lock());
        if (self && self->generation_ == generation) step(*self);
    });
}

void PhomNewView::postToMain(std::function<void(PhomNewView&)> step) {
    std::weak_ptr<platform::ui::ViewController> weak = weak_from_this();
    const uint64_t generation = generation_;
    platform::runOnMainThread([weak, generation, step = std::move(step)] {
        auto self = std::dynamic_pointer_cast<PhomNewView>(weak.lock());
        if (self && self->generation_ == generation) step(*self);
    });
}

// ---------------------------------------------------------------- life cycle

void PhomNewView::setUpLayout() {
    offsetLeft_ = offsetRight_ = int(120 * Util::iPadX());
    lastX_ = offsetLeft_;
    availableScreenWidth_ = UIController::screenWidth() - offsetLeft_ - offsetRight_;
    idx_ = 0;
}

namespace {

// Where the seats' bubbles start, in window points, on the phone and the tablet (a bubble
// keeps the phone's size there), in a deal and at its end. The right seat's bubble ends 55
// points short of the window's edge whatever its text: only its height is placed.
// - In a deal my seat makes way for my hand: my bubble stands above the hand, clear of the
//   left seat's discards, and the left seat's above that seat, off its heart. On the phone
//   the right and top seats' keep the layout's places, where a long line still reads clear
//   of the names; on the tablet a long line finds room by every seat: the right seat's above
//   it under the stake, the top seat's left of it.
// - At the end of a deal every seat speaks at once ("Thua", "Nhất") while its cards lie
//   shown beside it: the side seats' columns, the top seat's row, every seat's discards and
//   my hand leave each bubble one free place by its own seat. On the phone: mine right of the
//   left seat's last discards and left of mine; the right seat's above its discards, under
//   the stake; the top seat's under the ticker on its left. On the tablet: the right seat's
//   under its money; the top seat's left of its name.
constexpr double kBubbles[2][2][GameCardView::kSeats][2] = {
    {{{140, 176}, {0, 112}, {310, 70}, {15, 47}}, {{215, 176}, {0, 27}, {130, 28}, {15, 47}}},
    {{{320, 446}, {0, 72}, {340, 100}, {40, 150}}, {{320, 446}, {0, 440}, {400, 100}, {40, 150}}},
};

// The points badges, whose number is centred 22 points right of the badge and 20 under it,
// keep their numbers out of the bubbles' places at the end and clear of the names, money and
// chat buttons: mine right of my seat's top, the right seat's above the seat past its
// bubble's end, the top seat's right of its money, the left seat's right under its money
// (phone points).
constexpr double kPointBadges[GameCardView::kSeats][2] = {{66, 222}, {428, 50}, {306, 64}, {12, 161}};

} // namespace

void PhomNewView::placeBubbles(bool atTheEnd) {
    if (!chat(0)) return; // the view is not loaded yet: it loads with the places of a deal
    const auto& places = kBubbles[Util::isPad() ? 1 : 0][atTheEnd ? 1 : 0];
    for (int slot = 0; slot < kSeats; ++slot) {
        const auto frame = chat(slot)->frame();
        const double x = slot == 1 ? frame.x() : places[slot][0];
        chat(slot)->setFrame({x, places[slot][1], frame.width(), frame.height()});
    }
}

void PhomNewView::viewDidLoad() {
    GameCardView::viewDidLoad();
    setUpLayout();
    placeBubbles(false);
    for (int s = 0; s < kSeats; ++s)
        seat(s).point->setFrame(phoneRect(kPointBadges[s][0], kPointBadges[s][1], 16, 16));
    btnAutoSelected()->setBackgroundImage(Util::getImageWithName("button_yellow_.png"));
    // One action button does every turn action here: the fire and skip buttons of the
    // other card tables stay hidden.
    btnFire()->setHidden(true);
    btnSkip()->setHidden(true);
    // The card layer lies just above the table picture: the seats' widgets, the buttons
    // and the sheets stay above every card.
    cardLayer_ =
        platform::ui::View::make({0, 0, double(UIController::screenWidth()), double(UIController::screenHeight())});
    cardLayer_->setAccessibilityIdentifier("phomCards");
    view()->insertSubviewAbove(cardLayer_, imgBoard().get());

    btnBaiTy_ = platform::ui::Button::make(Util::changeRectFromRect({0, 0, 35, 45}));
    btnBaiTy_->setAccessibilityIdentifier("btnBaiTy");
    btnBaiTy_->setBackgroundColor(platform::ui::Color::clear());
    const auto board = imgBoard()->center();
    btnBaiTy_->setCenter({board.x, board.y - 5});
    btnBaiTy_->setImage(Util::getImageWithName(stockPicture(GameController::getLevelRoom())));
    btnBaiTy_->onTouchUpInside([this] { clickNhan(); });
    btnBaiTy_->setHidden(true);
    view()->addSubview(btnBaiTy_);

    imgNextMe_ = platform::ui::ImageView::make(Util::changeRectFromRect({0, 0, 20, 30}));
    imgNextMe_->setAccessibilityIdentifier("imgNextMe");
    imgNextMe_->setCenter({btnBaiTy_->center().x, btnBaiTy_->center().y - 40 * Util::iPad()});
    imgNextMe_->setImage(Util::getImageWithName("icon_next_me.png"));
    imgNextMe_->setHidden(true);
    view()->addSubview(imgNextMe_);
}

void PhomNewView::viewWillAppear(bool animated) {
    GameCardView::viewWillAppear(animated);
    limitYAtSeat0_ = int(190 * Util::iPadY());
    limitXAtSeat1_ = int(350 * Util::iPadX());
    limitYAtSeat2_ = int(35 * Util::iPadY());
    limitXAtSeat3_ = int(60 * Util::iPadX());
    space_ = int(10 * Util::iPad());
}

void PhomNewView::resetView() {
    GameCardView::resetView();
    reset();
    setCurrentPlayer(-1);
    isGameBegin_ = true;
    isZoom_ = false;
    pos_ = -2;
    myCards_.clear();
    for (int s = 0; s < kSeats; ++s) {
        playersFiredCards_[size_t(s)].clear();
        playersCards_[size_t(s)].clear();
    }
    isCardMove_ = false;
    indexOfCard_ = indexOfCard2_ = -1;
}

void PhomNewView::onLeftTable() {
    newGeneration();
    GameCardView::onLeftTable();
}

void PhomNewView::requestMaxPlayers(int8_t max) {
    PhomNewService::getInstance().setMaxPlayer(roomId(), boardId(), max);
}

void PhomNewView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const std::vector<std::shared_ptr<Player>>& players) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_join_board());
    GameCardView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    for (size_t i = 0; i < this->players().size(); ++i)
        if (auto player = tienLenPlayer(i)) player->setCards(nullptr);
}

// ---------------------------------------------------------------- seats

void PhomNewView::setAtSeat(int index, const std::shared_ptr<TienLenPlayer>& player) {
    if (!player || index < 0 || size_t(index) >= players().size()) {
        platform::log("Phom table: no place " + std::to_string(index) + " to sit at, dropped");
        return;
    }
    player->setIsFriend(Resources::getInstance().playerIsFriend(player->IDDB()) ? 1 : 0);
    player->setCards(nullptr);
    mutablePlayers()[size_t(index)] = player;
    resetSeat();
}

void PhomNewView::playerLeaveWithId(int32_t playerId) {
    PlaySound::playSoundWithSource(Resources::getInstance().com_player_leave_board());
    const int seat = getSeatFromID(playerId);
    auto& list = mutablePlayers();
    auto found = std::find_if(list.begin(), list.end(), [&](const auto& p) { return p && p->IDDB() == playerId; });
    if (found == list.end()) return;
    auto empty = std::make_shared<TienLenPlayer>();
    empty->setIDDB(-1);
    empty->setName("");
    empty->setExp(0);
    empty->setIsReady(0);
    empty->setIsFriend(0);
    *found = empty;
    if (seat < 0 || seat >= kSeats) return;
    cardShow_[size_t(seat)].fill(-1);
    showCardEat_[size_t(seat)].fill(-1);
    showHaPhom_[size_t(seat)].fill(-1);
    cardRac_[size_t(seat)].fill(-1);
}

void PhomNewView::resetSeat() {
    const int count = int(players().size());
    int mine = -1;
    for (int i = 0; i < count; ++i)
        if (players()[size_t(i)] && isMe(players()[size_t(i)]->IDDB())) mine = i;
    if (mine >= 0) setIndexOfMe(mine);
    if (count > 0) {
        const int me = std::clamp(indexOfMe(), 0, count - 1);
        for (int s = 0; s < kSeats; ++s)
            seats()[size_t(s)] = (me + s) % count;
    }
    showSeats();
    paintOtherPlayerCards();
    setInvatingOnChair();
    for (int s = 0; s < kSeats; ++s) {
        seat(s).btnPresent->setImage(Util::getImageWithName("tl_present.png"));
        if (auto player = playerAtSeat(s); player && player->IDDB() != -1) addGiftOnBoardWithPlayer(player);
    }
}

void PhomNewView::setReadyWithPlayerId(int32_t playerId, bool isReady) {
    Util::callRung();
    PlaySound::playSoundWithSource(isReady ? Resources::getInstance().com_ready()
                                           : Resources::getInstance().com_no_ready());
    auto player = playerWithId(playerId);
    if (!player) return;
    player->setIsReady(isReady ? 1 : 0);
    if (isMe(playerId)) setKindOfStart(isReady ? kNoReady : kReady);
}

void PhomNewView::moveErrorWithInfo(const std::string& info) {
    showChatWithSeat(kBubble, info);
    // A refused fire leaves the card in my hand, and its meld forms again.
    if (cardInFlight_ == -1) return;
    cardInFlight_ = -1;
    intelligentSort();
    if (!myCards_.empty()) paintMyCards(myCards_);
}

// ---------------------------------------------------------------- drawing from the stock

void PhomNewView::clickNhan() {
    if (isGameEnd()) return;
    doNhan();
}

void PhomNewView::doNhan() {
    if (!isEatCard_) {
        showChatWithSeat(kBubble, text("KAVO_ChoDenLuot"));
        return;
    }
    isEatCard_ = false;
    resetCmd();
    intelligentSort();
    paintMyCards(myCards_);
    PhomNewService::getInstance().getCard(roomId(), boardId());
    sendMeldGrouping();
}

void PhomNewView::onGetCard(int8_t card) {
    if (!isMe(currentPlayer())) return;
    auto drawn = CardViewPhom::withCardID(card, true, 0);
    auto place = std::find_if(myCards_.begin(), myCards_.end(),
                              [&](const CardPtr& c) { return c->cardID() > card && c->phom() == 0; });
    myCards_.insert(place == myCards_.end() ? myCards_.begin() : place, drawn);
    focusedCardIndex_ = 0;
    resetUpCard();
    isEatCard_ = false;
    isGetCard_ = true;
    getCard();
    imgNextMe_->setHidden(true);
}

void PhomNewView::getCard() {
    if (!isGetCard_) return;
    if (isMe(currentPlayer())) {
        if (myShownCount() == 3)
            setcmdHaPhom();
        else
            setCmdFire();
    }
    intelligentSort();
    paintMyCards(myCards_);
}

int PhomNewView::myShownCount() const {
    const int n = getAssetArray(cardShow_[0].data(), 4);
    return n;
}

// ---------------------------------------------------------------- action button

void PhomNewView::clickAutomaticSelectedCards() {
    const std::string title = btnAutoSelected()->titleForState(platform::ui::ControlState::Normal);
    if (title == text("KAVO_fire"))
        doFire();
    else if (title == text("KAVO_haPhom"))
        doHaPhom();
    else if (title == text("KAVO_guiPhom"))
        doAddCard();
    else if (title == text("KAVO_eat"))
        doEat();
}

void PhomNewView::setKindOfFire(int kind) {
    cmdState_ = kind;
    for (const auto& [k, key] : kFireTitles) {
        if (k != kind) continue;
        btnAutoSelected()->setTitle(text(key));
        btnAutoSelected()->setHidden(false);
        return;
    }
    btnAutoSelected()->setHidden(true);
}

void PhomNewView::setCmdFire() {
    isDoFire_ = true;
    setKindOfFire(kCmdFire);
}

void PhomNewView::setCmdEatAndGet() {
    isEatCard_ = true;
    setKindOfFire(kCmdEatAndGet);
}

void PhomNewView::setcmdHaPhom() {
    setKindOfFire(kCmdHaPhom);
}

void PhomNewView::setCmdGuiPhom() {
    setKindOfFire(kCmdGuiPhom);
}

// ---------------------------------------------------------------- meld detection and sorting

MeldHand PhomNewView::meldHand() const {
    MeldHand hand;
    hand.reserve(myCards_.size());
    for (size_t i = 0; i < myCards_.size(); ++i)
        hand.push_back({myCards_[i]->cardID(), myCards_[i]->phom(), myCards_[i]->isFix(), int(i)});
    return hand;
}

void PhomNewView::applyMeldHand(const MeldHand& hand) {
    CardList ordered;
    ordered.reserve(hand.size());
    for (const auto& card : hand) {
        if (card.ref < 0 || size_t(card.ref) >= myCards_.size()) continue;
        auto view = myCards_[size_t(card.ref)];
        view->setPhom(card.tag);
        ordered.push_back(view);
    }
    if (ordered.size() == myCards_.size()) myCards_ = std::move(ordered);
}

void PhomNewView::sendMeldGrouping() {
    PhomNewService::getInstance().doResetPhom(roomId(), boardId(), meldHand());
}

void PhomNewView::intelligentSort() {
    MeldHand hand = meldHand();
    // The card I fired stays out of the scan until its echo: the grouping reported
    // meanwhile holds no meld with it. It waits loose at the end of the hand, where it
    // cannot split the melds, which are reported by their places.
    const auto flying =
        std::find_if(hand.begin(), hand.end(), [this](const MeldCard& c) { return c.id == cardInFlight_; });
    std::optional<MeldCard> fired;
    if (cardInFlight_ != -1 && flying != hand.end()) {
        fired = *flying;
        fired->tag = 0;
        hand.erase(flying);
    }
    phommelds::intelligentSort(hand, tags_);
    if (fired) hand.push_back(*fired);
    applyMeldHand(hand);
    sendMeldGrouping();
}

void PhomNewView::findPhom1() {
    MeldHand hand = meldHand();
    phommelds::findPhom1(hand, tags_);
    applyMeldHand(hand);
}

void PhomNewView::findPhom2() {
    MeldHand hand = meldHand();
    phommelds::findPhom2(hand, tags_);
    applyMeldHand(hand);
}

void PhomNewView::sortChat() {
    MeldHand hand = meldHand();
    phommelds::sortChat(hand);
    applyMeldHand(hand);
}

void PhomNewView::sortPhom() {
    MeldHand hand = meldHand();
    phommelds::sortPhom(hand);
    applyMeldHand(hand);
}

bool PhomNewView::canBePhom(const CardViewPhom& a, const CardViewPhom& b, const CardViewPhom& c) {
    return phommelds::canBePhom(a.cardID(), b.cardID(), c.cardID());
}

bool PhomNewView::isPhomBaLa(int8_t tag) const {
    return phommelds::isPhomBaLa(meldHand(), tag);
}

bool PhomNewView::isPhomAn(int8_t tag) const {
    return phommelds::isPhomAn(meldHand(), tag);
}

int PhomNewView::countPhomCard(int8_t tag) const {
    return phommelds::countPhomCard(meldHand(), tag);
}

int PhomNewView::countPhomValue(int8_t tag) const {
    return phommelds::countPhomValue(meldHand(), tag);
}

int PhomNewView::getValueOfPhom(int8_t tag) const {
    return phommelds::getValueOfPhom(meldHand(), tag);
}

void PhomNewView::clearPhomMove(int8_t tag) {
    for (const auto& card : myCards_)
        if (card->phom() == tag) card->setPhom(0);
}

// ---------------------------------------------------------------- helpers of the turn

void PhomNewView::getCardsUp() {
    upCard_.assign(myCards_.size(), -1);
    for (size_t i = 0; i < myCards_.size(); ++i)
        if (myCards_[i]->isSelected()) upCard_[i] = 0;
}

void PhomNewView::getCheckCard() {
    for (const auto& card : myCards_)
        card->setIsChecked(card->isSelected());
}

bool PhomNewView::unableToEat() const {
    return std::any_of(myCards_.begin(), myCards_.end(),
                       [](const CardPtr& c) { return c->isSelected() && c->isFix(); });
}

void PhomNewView::resetUpCard() {
    upCard_.assign(myCards_.size(), -1);
    for (const auto& card : myCards_) {
        card->setIsSelected(false);
        card->setIsChecked(false);
    }
}

int PhomNewView::getAssetArray(const int* array, int len) {
    for (int i = 0; i < len; ++i)
        if (array[i] == -1) return i;
    return -1;
}

int32_t PhomNewView::getPlayerIDFromSeat(int index) const {
    if (index < 0 || size_t(index) >= players().size() || !players()[size_t(index)]) return -1;
    return players()[size_t(index)]->IDDB();
}

void PhomNewView::removeCards(int8_t cardId) {
    for (size_t i = myCards_.size(); i-- > 0;)
        if (myCards_[i]->cardID() == cardId) myCards_.erase(myCards_.begin() + long(i));
}

void PhomNewView::lowerAndRepaint() {
    resetUpCard();
    paintMyCards(myCards_);
}

void PhomNewView::refuse(const char* key) {
    showChatWithSeat(kBubble, text(key));
}

} // namespace kavo
