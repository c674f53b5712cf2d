#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "portal/model/Board.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// The sheet that asks for the password of a locked board chosen in the board list.
class PasswordIntoBoard : public CustomUIActionSheetViewController, public platform::ui::TextFieldDelegate {
public:
    PasswordIntoBoard();
    ~PasswordIntoBoard() override;

    // The board to enter; not kept alive by the sheet.
    void setBoard(const std::shared_ptr<Board>& board) { board_ = board; }
    std::shared_ptr<Board> board() const { return board_.lock(); }

    // ---- actions
    // The OK button, which Return in the field presses too.
    void clickOK() { doOK(); }
    void textFieldBeginEditting();
    // Empties the field and focuses it.
    void clearText();
    // Sends the join with the typed password and slides out.
    virtual void doOK();

    const std::shared_ptr<platform::ui::TextField>& txtPassword() const { return txtPassword_; }
    const std::shared_ptr<platform::ui::Button>& btnOK() const { return btnOK_; }

    // ---- life cycle
    void viewDidLoad() override;
    // Shows the field empty and focused.
    void viewWillAppear(bool animated) override;

    // ---- text field
    void didBeginEditing(platform::ui::TextField& field) override;

protected:
    // A sheet made from another layout name.
    explicit PasswordIntoBoard(const std::string& nibName);
    // The placeholder of the field (empty: none).
    virtual std::string placeholderText() const;
    // The name of the raising animation when the sheet appears.
    virtual std::string appearAnimationName() const { return PresentAnimationName; }
    // Raises the panel above the keyboard in an animation block of that name.
    void raisePanel(const std::string& animationName);
    // Sends the join for the room and board with the typed password, then slides out.
    void join(int8_t roomId, int8_t boardId);

private:
    void setUIScreen();

    std::weak_ptr<Board> board_;
    std::shared_ptr<platform::ui::TextField> txtPassword_;
    std::shared_ptr<platform::ui::Button> btnOK_;
};

} // namespace kavo
