#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TextField.h"

#include <memory>

namespace kavo {

// The sheet that goes to a board by number: room, board and an optional password.
class IntoBoard : public CustomUIActionSheetViewController, public platform::ui::TextFieldDelegate {
public:
    // The highest room and board numbers a player may type (one byte; boards 0..124).
    static constexpr int kMaxRoomNumber = 255;
    static constexpr int kMaxBoardNumber = 124;

    IntoBoard();
    ~IntoBoard() override;

    // ---- actions
    // Refuses empty fields and numbers out of range with a notice; otherwise sends the
    // join (command 8, or 1900 for Poker and the Chinese chess games) and slides out.
    void ok();
    // Return in the room or the board field: resigns it and moves the panel down a little.
    // (In the password, the last field, Return presses the search button.)
    void textFieldDone(platform::ui::TextField& field);
    // Resigns the three fields and slides out.
    void backGroundHidden();
    // A clear button (tag 1 room, 2 board, 3 password) empties its field and focuses it.
    void clearText(int tag);

    int selectedGameId() const { return selectedGameId_; }
    void setSelectedGameId(int gameId) { selectedGameId_ = gameId; }

    // ---- parts, for tests
    const std::shared_ptr<platform::ui::TextField>& txtRoom() const { return txtRoom_; }
    const std::shared_ptr<platform::ui::TextField>& txtBoard() const { return txtBoard_; }
    const std::shared_ptr<platform::ui::TextField>& txtPass() const { return txtPass_; }
    platform::ui::Point pointCenter() const { return pointCenter_; }

    // ---- life cycle
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    // ---- text fields
    void didBeginEditing(platform::ui::TextField& field) override;
    void didEndEditing(platform::ui::TextField& field) override;
    bool shouldReturn(platform::ui::TextField& field) override;
    // The field's clear button runs clearText with the field's tag.
    bool shouldClear(platform::ui::TextField& field) override;

private:
    void setUIScreen();
    void moveCenterTo(platform::ui::Point center);
    double raisedCenterY() const;

    std::shared_ptr<platform::ui::Label> lblTitle_;
    std::shared_ptr<platform::ui::TextField> txtRoom_, txtBoard_, txtPass_;
    std::shared_ptr<platform::ui::Button> btnOK_, btnCancel_;
    platform::ui::Point pointCenter_;
    int selectedGameId_ = 0;
};

} // namespace kavo
