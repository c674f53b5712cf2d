#include "table/base/SeatedTableView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/runtime/Log.h"
#include "platform/ui/Font.h"
#include "social/PlayerDetailView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"

#include <array>

namespace kavo {

namespace {

// Seat rectangles in phone coordinates: two seats in the right column (the first at
// the bottom, where the player sits), six in two rows of three.
struct SeatBox {
    double x, y, width, height;
};
constexpr std::array<SeatBox, 2> kTwoSeats{{{320, 206, 150, 54}, {320, 36, 150, 54}}};
constexpr std::array<SeatBox, 6> kSixSeats{{{10, 206, 150, 54},
                                            {165, 206, 150, 54},
                                            {320, 206, 150, 54},
                                            {10, 120, 150, 54},
                                            {165, 120, 150, 54},
                                            {320, 120, 150, 54}}};

std::shared_ptr<platform::ui::Label> seatLabel(platform::ui::View& root, platform::ui::Rect frame,
                                               const std::string& identifier, bool bold) {
    auto label = platform::ui::Label::make(Util::changeRectFromRect(frame));
    label->setAccessibilityIdentifier(identifier);
    label->setTextColor(bold ? platform::ui::Color::white() : platform::ui::Color::yellow());
    label->setBackgroundColor(platform::ui::Color::clear());
    label->setFont(bold ? platform::ui::Font::boldSystem(14 * Util::iPad())
                        : platform::ui::Font::system(13 * Util::iPad()));
    // The seat's button under it takes the tap.
    label->setUserInteractionEnabled(false);
    root.addSubview(label);
    return label;
}

} // namespace

SeatedTableView::SeatedTableView(int8_t gameType, const std::string& nibName, std::string titleKey, int seatCount)
    : GameTableView(gameType, nibName, std::move(titleKey)), seatCount_(seatCount == 6 ? 6 : 2) {}

void SeatedTableView::viewDidLoad() {
    GameTableView::viewDidLoad();
    auto& root = *view();
    seats_.clear();
    for (int seat = 0; seat < seatCount_; ++seat) {
        const SeatBox box = seatCount_ == 6 ? kSixSeats[size_t(seat)] : kTwoSeats[size_t(seat)];
        const platform::ui::Rect frame{box.x, box.y, box.width, box.height};
        const std::string index = std::to_string(seat);
        Seat made;
        made.button = platform::ui::Button::make(Util::changeRectFromRect(frame));
        made.button->setAccessibilityIdentifier("btnSeat" + index);
        made.button->setBackgroundColor(platform::ui::Color::rgba(0, 0, 0, 0.35));
        made.button->layer().setCornerRadius(6);
        made.button->onTouchUpInside([this, seat] { clickSeat(seat); });
        root.addSubview(made.button);
        made.name = seatLabel(root, {frame.x() + 8, frame.y() + 4, frame.width() - 16, 22}, "lblName" + index, true);
        made.money =
            seatLabel(root, {frame.x() + 8, frame.y() + 28, frame.width() - 16, 20}, "lblMoney" + index, false);
        seats_.push_back(made);
    }
    addTableButton({320, 276, 72, 32}, "btnCuoc", "KAVO_bet", [this] { clickCuoc(); });
    addTableButton({398, 276, 72, 32}, "btnChat", "KAVO_chat", [this] { clickChat(); });
    refreshSeats();
}

std::shared_ptr<platform::ui::Button> SeatedTableView::addTableButton(platform::ui::Rect frame,
                                                                      const std::string& identifier,
                                                                      const std::string& titleKey,
                                                                      std::function<void()> action) {
    auto button = platform::ui::Button::make(Util::changeRectFromRect(frame), platform::ui::ButtonType::RoundedRect);
    button->setAccessibilityIdentifier(identifier);
    button->setTitle(Resources::getInstance().textWithKey(titleKey));
    // "Trò chuyện" or "Đặt mật khẩu" reads whole: drawn smaller rather than cut.
    button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    button->titleLabel()->setMinimumFontSize(8 * Util::iPad());
    button->onTouchUpInside(std::move(action));
    view()->addSubview(button);
    return button;
}

void SeatedTableView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                           const std::vector<std::shared_ptr<Player>>& players) {
    GameTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    refreshSeats();
}

void SeatedTableView::showMoneyAtSeat(const Player&) {
    refreshSeats();
}

std::shared_ptr<Player> SeatedTableView::playerAtSeat(int seat) const {
    const auto list = tablePlayers();
    if (seat < 0 || size_t(seat) >= list.size()) return nullptr;
    const auto& player = list[size_t(seat)];
    return player && player->IDDB() != -1 ? player : nullptr;
}

void SeatedTableView::refreshSeats() {
    for (int seat = 0; seat < int(seats_.size()); ++seat) {
        const auto player = playerAtSeat(seat);
        seats_[size_t(seat)].name->setText(player ? player->name() : std::string());
        seats_[size_t(seat)].money->setText(player ? Util::formatNumber(player->money()) : std::string());
    }
}

void SeatedTableView::clickSeat(int seat) {
    // An empty seat has nobody to act on.
    if (auto player = playerAtSeat(seat)) didTapSeat(seat, player);
}

void SeatedTableView::didTapSeat(int /*seat*/, const std::shared_ptr<Player>& player) {
    openPlayerMenu(player);
}

void SeatedTableView::clickCuoc() {
    openSheet(betView());
}

void SeatedTableView::clickChat() {
    openSheet(chatView());
}

void SeatedTableView::addPasswordButton(platform::ui::Rect frame) {
    passwordView_ = std::make_shared<menuPassword>();
    addTableButton(frame, "btnPass", "KAVO_setPass", [this] { openSheet(passwordView_); });
}

void SeatedTableView::makePlayerDetailView() {
    playerDetailView_ = std::make_shared<PlayerDetailView>();
}

void SeatedTableView::showPlayerDetail(const platform::Value& details) {
    // A short record would slide in an empty or stale sheet: nothing is shown for it.
    if (!playerDetailView_ || !details.isArray() || details.arrayValue().size() < PlayerDetailView::kItemCount) {
        platform::log("table: player detail without its whole record dropped");
        return;
    }
    PlayerDetailView::showOver(*this, playerDetailView_, details);
}

} // namespace kavo
