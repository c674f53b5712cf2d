#include "lobby/BoardView.h"

#include "app/MessageBadge.h"
#include "app/Resources.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/CreateNewBoard.h"
#include "lobby/IntoBoard.h"
#include "lobby/LobbyGames.h"
#include "lobby/LobbyLayout.h"
#include "lobby/PasswordIntoBoard.h"
#include "lobby/TableEntry.h"
#include "lobby/UICustomSlider.h"
#include "platform/runtime/Log.h"
#include "portal/GlobalService.h"

#include <algorithm>
#include <atomic>

namespace kavo {

namespace ui = platform::ui;

namespace {

std::atomic<int> gType{0};
std::atomic<int> gNumOfTouchUp{0};

constexpr const char* kCellIdentifier = "cellBoardList";
// What the list asks for: every stake, forty boards.
constexpr int64_t kAllStakes = -1;
constexpr int kBoardNumber = 40;
// How long a join, a play-now and a search may keep their spinners.
constexpr double kJoinTimeout = 2.0;
constexpr double kPlayNowTimeout = 5.0;

// The cell tags the list's cells carry.
constexpr int kTagLock = -1;
constexpr int kTagStake = -2;
constexpr int kTagLimit = -3;
constexpr int kTagState = -4;
constexpr int kTagPlayers = -5;

using lobby::image;
using lobby::scaled;
using lobby::text;

// A board row. The views carry the list's cell tags; the cell also keeps them by name so
// that a reused cell is filled from its new row in full, the password line included.
class BoardCell : public ui::TableViewCell {
public:
    BoardCell(bool oddBackground, double tableWidth)
        : ui::TableViewCell(ui::TableViewCellStyle::Subtitle, kCellIdentifier) {
        setSelectionStyle(ui::TableViewCellSelectionStyle::None);
        const bool pad = Util::isPad();
        const ui::ViewPtr& content = contentView();

        background = ui::ImageView::make(pad ? ui::Rect(0, 0, 745, 100) : ui::Rect(0, 0, 350, 41));
        background->setContentMode(ui::ContentMode::ScaleToFill);
        background->setImage(image(oddBackground ? "tap_profile_cell1.png" : "tap_profile_cell2.png"));
        content->addSubview(background);

        lock = ui::ImageView::make(scaled({0, 5, 44, 30}));
        lock->setTag(kTagLock);
        lock->setContentMode(ui::ContentMode::ScaleAspectFit);
        content->addSubview(lock);

        stake = makeLabel({44, 5, 98, 30}, kTagStake, ui::Color::yellow(), ui::TextAlignment::Right);
        limit = makeLabel({144, 5, 50, 30}, kTagLimit, ui::Color::white(), ui::TextAlignment::Center);

        state = ui::ImageView::make(scaled({194, 5, 76, 30}));
        state->setTag(kTagState);
        state->setContentMode(ui::ContentMode::ScaleAspectFit);
        content->addSubview(state);

        players = makeLabel({270, 5, 80, 30}, kTagPlayers, ui::Color::white(), ui::TextAlignment::Center);

        const ui::Rect lineRect = scaled({0, 39, 0, 2});
        line = ui::ImageView::make(ui::Rect(0, lineRect.y(), tableWidth, lineRect.height()));
        line->setTag(kTagLock);
        content->addSubview(line);
    }

    void fill(const Board& board) {
        lock->setImage(board.isPass() ? image("lock.png") : nullptr);
        stake->setText(Util::formatNumber(board.money()) + " zel");
        limit->setText(BoardView::limitText(board.maxBetMoney()));
        state->setImage(image(board.isPlaying() ? "online_icon.png" : "offline_Icon.png"));
        players->setText(std::to_string(board.nPlayer()) + "/" + std::to_string(board.maxPlayer()));
        line->setImage(board.isPass() ? image("line3.png") : nullptr);
    }

    std::shared_ptr<ui::ImageView> background, lock, state, line;
    std::shared_ptr<ui::Label> stake, limit, players;

private:
    std::shared_ptr<ui::Label> makeLabel(ui::Rect phoneRect, int tag, ui::Color color, ui::TextAlignment alignment) {
        auto label = ui::Label::make(scaled(phoneRect));
        label->setTag(tag);
        label->setBackgroundColor(ui::Color::clear());
        label->setTextColor(color);
        label->setTextAlignment(alignment);
        label->setFont(ui::Font::system(lobby::fontSize(14)));
        contentView()->addSubview(label);
        return label;
    }
};

} // namespace

BoardView::BoardView() : KavoViewController("BoardView") {}

BoardView::~BoardView() {
    if (joinTimer_) joinTimer_->invalidate();
    if (tblBoardList_) {
        tblBoardList_->setDataSource(nullptr);
        tblBoardList_->setDelegate(nullptr);
    }
    if (tfBetMoney_) tfBetMoney_->setDelegate(nullptr);
}

// ---------------------------------------------------------------- program-wide state

int BoardView::type() {
    return gType.load();
}

void BoardView::setType(int type) {
    gType.store(type);
}

int BoardView::numOfTouchUp() {
    return gNumOfTouchUp.load();
}

void BoardView::setnumOfTouchUp(int count) {
    gNumOfTouchUp.store(count);
}

int BoardView::getGameIdWithButtonIndex(int index) {
    if (index < 0 || index >= int(kLobbyGames.size())) return 0;
    return kLobbyGames[size_t(index)].gameType;
}

int BoardView::getMaxPlayerNumber() {
    return getMaxPlayerNumber(UIController::gameType());
}

int BoardView::getMaxPlayerNumber(int gameType) {
    const GameRecord* game = gameRecord(gameType);
    return game ? game->seats : 2;
}

std::string BoardView::limitText(int32_t maxBetMoney) {
    if (maxBetMoney > 999999) return std::to_string(maxBetMoney / 1000000) + "M";
    return std::to_string(maxBetMoney / 1000) + "K";
}

bool BoardView::isBoardFull(const Board& board, int seatType) {
    switch (seatType) {
    case 0:
        return board.nPlayer() >= 2;
    case 1:
        return board.nPlayer() > 3;
    case 2:
        return board.nPlayer() > 4;
    default:
        return false;
    }
}

// ---------------------------------------------------------------- life cycle

void BoardView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    setUIScreen();
    if (listArrived_) {
        reloadBoardList();
        return;
    }
    showLoadingScreen(tblBoardList_);
    Util::boundLoadingOnView(tblBoardList_);
}

void BoardView::viewWillAppear(bool animated) {
    KavoViewController::viewWillAppear(animated);
    tblBoardList_->setDataSource(this);
    tblBoardList_->setDelegate(this);
    setnumOfTouchUp(0);
}

void BoardView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    resetBetMoney();
    requestBoardList(kAllStakes);
}

void BoardView::setUIScreen() {
    using lobby::addButton;
    using lobby::addLabel;
    const ui::ViewPtr& root = view();
    root->setAccessibilityIdentifier("BoardView");
    root->setBackgroundColor(ui::Color::clear());

    // The top bar: the back button sits at its left end; the three lobby buttons and the
    // mailbox button to its right, each with its name inside.
    viewTopBar_ = ui::View::make(scaled({0, 0, 480, 46}));
    viewTopBar_->setAccessibilityIdentifier("viewTopBar");
    root->addSubview(viewTopBar_);
    auto topButton = [this](std::shared_ptr<ui::Button>& button, const char* id, double x, const char* labelId,
                            const char* textKey) {
        button = addButton(viewTopBar_, {x, 7, 84, 32}, id);
        // Inside the picture's bevel, so a long name shrinks before it touches the edge.
        return addLabel(button, {5, 0, 74, 32}, labelId, text(textKey));
    };
    // Room at the right of the mailbox button for its unread badge.
    lblGotoBoard_ = topButton(btnGotoBoard_, "btnGotoBoard", 112, "lblGotoBoard", "KAVO_GotoBoard");
    lblCreateBoard_ = topButton(btnCreateBoard_, "btnCreateBoard", 200, "lblCreateBoard", "KAVO_CreateBoard");
    lblPlayNow_ = topButton(btnPlayNow_, "btnPlayNow", 288, "lblPlayNow", "KAVO_PlayNow");
    topButton(btnChat_, "btnChat", 376, "lblChat", "KAVO_chat");
    btnGotoBoard_->onTouchUpInside([this] { clickIntoBoard(); });
    btnCreateBoard_->onTouchUpInside([this] { createNewBoard(); });
    btnPlayNow_->onTouchUpInside([this] { doFindAutoBoard(); });
    btnChat_->onTouchUpInside([this] { showMessageView(); });
    addSettingAndLottoButtons(viewTopBar_, {46, 7, 32, 32}, {80, 7, 30, 32});
    // The mailbox badge rides on the mailbox button's corner.
    if (imgViewCounterMessage() && lblCounterMessage()) {
        placeMessageBadge(*imgViewCounterMessage(), *lblCounterMessage(),
                          viewTopBar_->convertRect(btnChat_->frame(), root.get()));
        root->bringSubviewToFront(imgViewCounterMessage().get());
        root->bringSubviewToFront(lblCounterMessage().get());
    }

    // The game strip on the left.
    scrollViewGame_ = ui::ScrollView::make(scaled({0, 46, 106, 274}));
    scrollViewGame_->setAccessibilityIdentifier("scrollViewGame");
    scrollViewGame_->setShowsHorizontalScrollIndicator(false);
    root->addSubview(scrollViewGame_);

    // The list panel: stake slider and search over the column headings and the boards.
    viewList_ = ui::View::make(scaled({108, 46, 370, 274}));
    viewList_->setAccessibilityIdentifier("viewList");
    root->addSubview(viewList_);

    lblBetMoney_ = addLabel(viewList_, {10, 2, 80, 22}, "lblBetMoney", text("KAVO_BetMoney"), 12, true,
                            ui::Color::white(), ui::TextAlignment::Left);
    tfBetMoney_ = lobby::addField(viewList_, {92, 2, 120, 22}, "tfBetMoney");
    tfBetMoney_->setKeyboardType(ui::KeyboardType::NumberPad);
    tfBetMoney_->setDelegate(this);
    btnSearch_ = addButton(viewList_, {250, 0, 100, 25}, "searchBoard");
    lblSearchBoard_ = addLabel(btnSearch_, {0, 0, 100, 25}, "lblSearchBoard", text("KAVO_SearchBoard"));
    btnSearch_->onTouchUpInside([this] { searchBoard(); });

    sldBetMoney_ = UICustomSlider::initWithFrame(scaled({10, 24, 354, 28}), image("Nut_keo_tien_cuoc.png"),
                                                 Util::isPad() ? 38.0f : 17.0f, Util::changeSizeFromSize({50, 24}),
                                                 nullptr, 0, 9, 1);
    sldBetMoney_->setAccessibilityIdentifier("sldBetMoney");
    sldBetMoney_->setValueTextField(tfBetMoney_);
    viewList_->addSubview(sldBetMoney_);

    // Column headings; the stake and players headings sort the list.
    const ui::Color yellow = ui::Color::rgba(255, 220, 60);
    lblLock_ = addLabel(viewList_, {0, 54, 44, 20}, "lblLock", text("KAVO_Lock"), 11, true, yellow);
    btnSortByBoardMoney_ = addButton(viewList_, {44, 54, 98, 20}, "btnSortByBoardMoney");
    lblBoardMoney_ =
        addLabel(btnSortByBoardMoney_, {0, 0, 98, 20}, "lblBoardMoney", text("KAVO_BoardMoney"), 11, true, yellow);
    lblLimitMoney_ = addLabel(viewList_, {144, 54, 50, 20}, "lblLimitMoney", text("KAVO_LimitMoney"), 11, true, yellow);
    // "Giới hạn tiền" is wider than its column: smaller, on two lines, never cut.
    lblLimitMoney_->setAdjustsFontSizeToFitWidth(true);
    lblLimitMoney_->setMinimumFontSize(lobby::fontSize(8));
    lblLimitMoney_->setWrapsWhenShrunk(true);
    lblStatus_ = addLabel(viewList_, {194, 54, 76, 20}, "lblStatus", text("KAVO_Status"), 11, true, yellow);
    btnSortByPlayerNumber_ = addButton(viewList_, {270, 54, 80, 20}, "btnSortByPlayerNumber");
    lblPlayerNumber_ = addLabel(btnSortByPlayerNumber_, {0, 0, 80, 20}, "lblPlayerNumber", text("KAVO_PlayerNumber"),
                                11, true, yellow);
    for (const auto& sort : {btnSortByBoardMoney_, btnSortByPlayerNumber_})
        sort->setTag(1); // the first press sorts ascending
    btnSortByBoardMoney_->onTouchUpInside([this] { sortByBoardMoney(); });
    btnSortByPlayerNumber_->onTouchUpInside([this] { sortByPlayerNumber(); });

    tblBoardList_ = ui::TableView::make(scaled({0, 76, 350, 198}));
    tblBoardList_->setAccessibilityIdentifier("tblBoardList");
    tblBoardList_->setBackgroundColor(ui::Color::clear());
    tblBoardList_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    tblBoardList_->setRowHeight(Util::isPad() ? 100 : 41);
    tblBoardList_->setDataSource(this);
    tblBoardList_->setDelegate(this);
    viewList_->addSubview(tblBoardList_);

    intoBoard_ = std::make_shared<IntoBoard>();
    passIntoBoard_ = std::make_shared<PasswordIntoBoard>();
    createNewBoard_ = std::make_shared<CreateNewBoard>();

    setUIScreenForGameList();
}

// ---------------------------------------------------------------- game strip

void BoardView::setUIScreenForGameList() {
    for (const auto& button : buttonArray_)
        button->removeFromSuperview();
    for (const auto& label : buttonLabelArray_)
        label->removeFromSuperview();
    scrollViewGame_->removeAllSubviews();
    buttonArray_.clear();
    buttonLabelArray_.clear();

    // The current game first, then the others in the grid's order.
    const int current = UIController::gameType();
    int position = 0;
    loadGameIcon(current, position++, true);
    for (size_t index = 0; index < kLobbyGames.size(); ++index) {
        const int gameType = getGameIdWithButtonIndex(int(index));
        if (gameType != current) loadGameIcon(gameType, position++, false);
    }
    const double pitch = Util::isPad() ? 176 : 88;
    const double top = Util::isPad() ? 30 : 15;
    // Fourteen pitches, whatever game is current.
    scrollViewGame_->setContentSize({scrollViewGame_->bounds().width(), top + pitch * double(kLobbyGames.size())});
}

void BoardView::loadGameIcon(int gameType, int position, bool current) {
    const LobbyGame* game = lobbyGameOfType(gameType);
    const bool pad = Util::isPad();
    const double top = pad ? 30 + 176 * position : 15 + 88 * position;

    auto button = ui::Button::make(pad ? ui::Rect(46, top, 138, 126) : ui::Rect(20, top, 69, 63));
    button->setTag(gameType);
    button->setAccessibilityIdentifier("selectGame" + std::to_string(gameType));
    button->setTitleColor(ui::Color::white());
    // The icon fills the button on either device.
    if (game) button->setBackgroundImage(image(current ? game->highlightIcon : game->icon));
    std::weak_ptr<ui::Button> weakButton = button;
    button->onTouchUpInside([this, weakButton] {
        if (auto pressed = weakButton.lock()) selectGame(*pressed);
    });
    scrollViewGame_->addSubview(button);
    buttonArray_.push_back(button);

    // The name plate spans the strip, so "Tiến Lên Miền Nam" reads whole.
    auto plate = ui::ImageView::make(pad ? ui::Rect(10, top + 126, 206, 28) : ui::Rect(4, top + 63, 98, 14));
    plate->setImage(image("tengame.png"));
    scrollViewGame_->addSubview(plate);

    auto label = ui::Label::make(pad ? ui::Rect(12, top + 128, 202, 24) : ui::Rect(5, top + 64, 96, 12));
    label->setTag(gameType);
    label->setOpaque(false);
    label->setBackgroundColor(ui::Color::clear());
    label->setTextAlignment(ui::TextAlignment::Center);
    label->setText(game ? text(game->titleKey) : std::string());
    // A long English name takes a smaller font.
    const bool small = game && game->longEnglishName && Resources::getInstance().currentLanguage() != "vi";
    label->setFont(ui::Font::boldSystem(small ? (pad ? 12 : 6) : (pad ? 16 : 8)));
    label->setTextColor(current ? ui::Color::orange() : ui::Color::white());
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(pad ? 10 : 5);
    scrollViewGame_->addSubview(label);
    buttonLabelArray_.push_back(label);
}

std::shared_ptr<ui::Button> BoardView::getGameButton(int gameType) const {
    for (const auto& button : buttonArray_) {
        if (button->tag() == gameType) return button;
    }
    return nullptr;
}

std::shared_ptr<ui::Label> BoardView::getGameButtonLabel(int gameType) const {
    for (const auto& label : buttonLabelArray_) {
        if (label->tag() == gameType) return label;
    }
    return nullptr;
}

void BoardView::markGameButton(int gameType, bool selected) {
    if (auto gameButton = getGameButton(gameType)) {
        if (const LobbyGame* game = lobbyGameOfType(gameType))
            gameButton->setBackgroundImage(image(selected ? game->highlightIcon : game->icon));
    }
    if (auto label = getGameButtonLabel(gameType))
        label->setTextColor(selected ? ui::Color::orange() : ui::Color::white());
}

void BoardView::selectGame(ui::Button& button) {
    const int current = UIController::gameType();
    const int wanted = button.tag();
    markGameButton(current, false);
    markGameButton(wanted, true);

    showLoadingScreen(tblBoardList_);
    // A server that never answers leaves the player on the game they had, marked as such.
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    Util::boundLoadingOnView(tblBoardList_, Util::kLoadingBound, [weak, current, wanted] {
        auto self = std::static_pointer_cast<BoardView>(weak.lock());
        if (!self || UIController::gameType() != current) return;
        self->markGameButton(wanted, false);
        self->markGameButton(current, true);
    });
    resetBetMoney();
    // The answer sets the game and, with this screen on top, asks for its boards.
    GlobalService::getInstance().setGameType(button.tag());
}

// ---------------------------------------------------------------- the list

void BoardView::resetBetMoney() {
    sldBetMoney_->setValue(0);
}

void BoardView::requestBoardList(int64_t money) {
    GlobalService::getInstance().requestPickRoomBoardListWithMoney(money, kBoardNumber);
}

void BoardView::reloadBoardList() {
    if (!isViewLoaded()) return;
    tblBoardList_->reloadData();
    sldBetMoney_->setMaxValueWithMoney(maxBetValue_);
    hideLoadingScreen(tblBoardList_);
}

void BoardView::searchBoard() {
    showLoadingScreen(tblBoardList_);
    Util::boundLoadingOnView(tblBoardList_);
    const int32_t money = intValueOfText(tfBetMoney_->text());
    platform::log("searchBoard money " + std::to_string(money));
    requestBoardList(int64_t(money));
    tfBetMoney_->resignFirstResponder();
}

void BoardView::sortByBoardMoney() {
    sortBy(*btnSortByBoardMoney_, true);
}

void BoardView::sortByPlayerNumber() {
    sortBy(*btnSortByPlayerNumber_, false);
}

void BoardView::sortBy(ui::Button& button, bool byMoney) {
    if (boardList_.empty()) return;
    const bool ascending = button.tag() == 1;
    auto key = [byMoney](const std::shared_ptr<Board>& board) -> int64_t {
        if (!board) return 0;
        return byMoney ? int64_t(board->money()) : int64_t(board->nPlayer());
    };
    std::vector<std::shared_ptr<Board>> sorted = boardList_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const auto& a, const auto& b) { return ascending ? key(a) < key(b) : key(a) > key(b); });
    boardList_ = std::move(sorted);
    reloadBoardList();
    button.setTag(1 - button.tag());
}

// ---------------------------------------------------------------- joining

void BoardView::doJoinBoard(const std::shared_ptr<Board>& board) {
    if (!board || numOfTouchUp() >= 2) return;

    // A table is already up (a late tap): nothing to join from here.
    auto top = topScreenAs<KavoViewController>();
    if (top && top->isTableScreen()) {
        setnumOfTouchUp(0);
        return;
    }

    if (!TableEntry::opens(UIController::gameType())) {
        setnumOfTouchUp(0);
        return;
    }

    // Only the two Chinese chess games turn a full board away here; the server answers
    // for the others.
    const GameRecord* game = gameRecord(UIController::gameType());
    if (isBoardFull(*board, type()) && game && game->turnsFullBoardAway) {
        UIController::startOKDlg(text("KAVO_cannotJoinBoard"));
        setnumOfTouchUp(0);
        return;
    }

    if (int64_t(board->money()) > UIController::myInfo()->money()) {
        // OK opens the top-up screen.
        UIController::startCancelOkDlg(text("KAVO_wantChargeMoney"), text("KAVO_cancel"), text("KAVO_loading"),
                                       {UIController::kActionTopUp});
        setnumOfTouchUp(0);
        return;
    }

    if (board->isPass()) {
        passIntoBoard_->setBoard(board);
        view()->addSubview(passIntoBoard_->view());
        passIntoBoard_->viewWillAppear(false);
        setnumOfTouchUp(0);
        return;
    }

    showLoadingScreen(viewList_);
    // Set before the screen's own timer: at the same moment the bound sees the spinner
    // still up and tells the player, then the timer tidies up.
    Util::boundLoadingOnView(viewList_, kJoinTimeout);
    GlobalService::getInstance().joinBoardWithroomId(board->roomId(), board->boardId(), "");
    if (joinTimer_) joinTimer_->invalidate();
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    joinTimer_ = platform::Timer::scheduled(kJoinTimeout, false, [weak] {
        if (auto self = std::static_pointer_cast<BoardView>(weak.lock())) self->autoHideLoadingOnView();
    });
}

void BoardView::viewWillDisappear(bool animated) {
    endRequestWaits();
    if (isViewLoaded()) Util::hideLoadingOnView(tblBoardList_);
    // The table a create opens is the create's answer: the panel goes with it.
    if (createNewBoard_ && createNewBoard_->isViewLoaded() && createNewBoard_->view()->superview())
        createNewBoard_->doCloseThisView();
    KavoViewController::viewWillDisappear(animated);
}

void BoardView::endRequestWaits() {
    if (joinTimer_) joinTimer_->invalidate();
    joinTimer_.reset();
    if (!isViewLoaded()) return;
    Util::hideLoadingOnView(viewList_);
    Util::hideLoadingOnView(view());
    // A refused create leaves its panel up with what the player typed, only its wait ends.
    if (createNewBoard_ && createNewBoard_->isViewLoaded()) Util::hideLoadingOnView(createNewBoard_->view());
    setnumOfTouchUp(0);
}

void BoardView::autoHideLoadingOnView() {
    joinTimer_.reset();
    hideLoadingScreen(viewList_);
    setnumOfTouchUp(0);
}

void BoardView::doFindAutoBoard() {
    if (!TableEntry::opens(UIController::gameType())) return;
    showLoadingScreen(view());
    GlobalService::getInstance().joinAnyBoard();
    Util::hideLoadingOnViewAfterDelay(view(), kPlayNowTimeout);
}

void BoardView::clickIntoBoard() {
    if (!TableEntry::opens(UIController::gameType())) return;
    view()->addSubview(intoBoard_->view());
    intoBoard_->viewWillAppear(false);
}

void BoardView::createNewBoard() {
    if (!TableEntry::opens(UIController::gameType())) return;
    view()->addSubview(createNewBoard_->view());
    createNewBoard_->viewWillAppear(false);
    createNewBoard_->setMinPlayerNumber(2);
    createNewBoard_->setMaxPlayerNumber(getMaxPlayerNumber());
}

// ---------------------------------------------------------------- table

int BoardView::numberOfRows(ui::TableView& /*table*/, int /*section*/) {
    return int(boardList_.size());
}

double BoardView::heightForRow(ui::TableView& /*table*/, const ui::IndexPath& /*indexPath*/) {
    return Util::isPad() ? 100 : 41;
}

std::shared_ptr<ui::TableViewCell> BoardView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = std::dynamic_pointer_cast<BoardCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell) {
        cell = std::make_shared<BoardCell>(isOddAdded_, table.bounds().width());
        isOddAdded_ = !isOddAdded_;
    }
    if (indexPath.row >= 0 && size_t(indexPath.row) < boardList_.size() && boardList_[size_t(indexPath.row)])
        cell->fill(*boardList_[size_t(indexPath.row)]);
    return cell;
}

void BoardView::didSelectRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    table.deselectRow(indexPath);
    if (indexPath.row < 0 || size_t(indexPath.row) >= boardList_.size()) return;
    // A copy: the join may replace the list (a sheet, a dialog) while it runs.
    const std::shared_ptr<Board> board = boardList_[size_t(indexPath.row)];
    doJoinBoard(board);
    setnumOfTouchUp(1);
}

bool BoardView::shouldReturn(ui::TextField& field) {
    field.resignFirstResponder();
    return true;
}

} // namespace kavo
