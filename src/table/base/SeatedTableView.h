#pragma once

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "table/base/GameTableView.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class menuPassword;
class PlayerDetailView;

// The table screens that are not card tables (chess, Caro, Tetris, poker, Bau Cua):
// their seats in a fixed order, each a button with the seated player's name and money,
// and the table's own bet and chat buttons. A tap on a taken seat chooses that player
// and opens the table's player menu; a game whose seat does something else overrides
// didTapSeat. Main thread only.
class SeatedTableView : public GameTableView {
public:
    // `seatCount` is 2 for the two-player boards and 6 for poker and Bau Cua.
    SeatedTableView(int8_t gameType, const std::string& nibName, std::string titleKey, int seatCount);

    int seatCount() const { return seatCount_; }
    // The seats and the bet and chat buttons.
    void viewDidLoad() override;
    // The seats show the new players.
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;
    void showMoneyAtSeat(const Player& player) override;

    // The player at a seat (the players in their order), or nullptr for an empty seat.
    std::shared_ptr<Player> playerAtSeat(int seat) const;
    void clickSeat(int seat);
    // Opens the bet sheet and the chat sheet.
    void clickCuoc();
    void clickChat();

    // The password sheet of the tables that have a password button; nullptr elsewhere.
    const std::shared_ptr<menuPassword>& passwordView() const { return passwordView_; }
    // The player-detail sheet of the tables that make one at load; nullptr elsewhere.
    const std::shared_ptr<PlayerDetailView>& playerDetailView() const { return playerDetailView_; }
    const std::shared_ptr<platform::ui::Button>& seatButton(int seat) const { return seats_.at(size_t(seat)).button; }
    const std::shared_ptr<platform::ui::Label>& seatName(int seat) const { return seats_.at(size_t(seat)).name; }
    const std::shared_ptr<platform::ui::Label>& seatMoney(int seat) const { return seats_.at(size_t(seat)).money; }

protected:
    // A taken seat was tapped: the player becomes the chosen one and the menu opens.
    virtual void didTapSeat(int seat, const std::shared_ptr<Player>& player);
    // A button of the table's own, at phone coordinates of the screen.
    std::shared_ptr<platform::ui::Button> addTableButton(platform::ui::Rect frame, const std::string& identifier,
                                                         const std::string& titleKey, std::function<void()> action);
    // Names and money of every seat again.
    void refreshSeats();
    void makePlayerDetailView();
    // The table's own password sheet (made here) and the button that opens it.
    void addPasswordButton(platform::ui::Rect frame);
    // Fills the detail sheet on the main thread and slides it in over the table; a
    // record that is not whole, or a table without the sheet, shows nothing.
    void showPlayerDetail(const platform::Value& details);

private:
    struct Seat {
        std::shared_ptr<platform::ui::Button> button;
        std::shared_ptr<platform::ui::Label> name;
        std::shared_ptr<platform::ui::Label> money;
    };
    int seatCount_;
    std::vector<Seat> seats_;
    std::shared_ptr<PlayerDetailView> playerDetailView_;
    std::shared_ptr<menuPassword> passwordView_;
};

} // namespace kavo
