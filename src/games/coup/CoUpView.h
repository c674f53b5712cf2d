#pragma once

#include "games/cotuong/CoTuongView.h"
#include "games/cotuong/MoveRecords.h"

#include <vector>

namespace kavo {

class CoUpChessMan;

// The hidden-piece Chinese chess table screen (game type 20): the Chinese chess table
// with face-down pieces, which a move report reveals, no undo panel, the captured
// pieces' panel, and its own seating of viewers. Main thread only.
class CoUpView : public CoTuongView {
public:
    CoUpView();

    // ---- pieces
    // A face-up piece of the type (1-7) on the square, for the team; nullptr for any
    // other type.
    std::shared_ptr<CoUpChessMan> getPieceWithId(int type, int x, int y, const std::shared_ptr<Team>& team) const;
    // Type 1: a face-up general; 2-7: a face-down piece of that kind; else nullptr.
    std::shared_ptr<CoUpChessMan> getPieceCoUpWithId(int type, int x, int y, const std::shared_ptr<Team>& team) const;

    // ---- game flow
    // The move, then, for a new type of 1-7, the reveal: 0.3 s later the face-down piece
    // leaves with the capture effect and the face-up one enters its team, fading in.
    void moveWithWhoMove(int32_t whoMove, int xs, int ys, int xd, int yd, int32_t nextMove, int32_t remainTime,
                         int8_t newPieceType) override;
    void playerLeaveWithId(int32_t id) override;
    void closeBoardWithInfo(const std::optional<std::string>& info) override;

    // ---- the captured pieces' panel
    // Opens (asking the server) or closes the panel, fading; its state is the hidden
    // button's tag.
    void clickViewCoAn();
    // Shows the panel at once and asks the server, or hides it, by the same tag, which it
    // leaves as it is.
    void clickViewPlayer();
    void clearViewCoAn();
    // Puts the open captured pieces' panel away (a tap on it, Escape); false when it is
    // not open.
    bool closeViewCoAn();
    // Lays out the icons of the server's list, five to a row, replacing those shown.
    void getListEatPiece(const std::vector<EatPiece>& list);
    // The icon of a captured piece of the type in the signed-in player's colour; nullptr
    // for a viewer or a type outside 1-7.
    platform::ui::ImagePtr getPieceWithType(int type) const;

    const std::shared_ptr<platform::ui::Button>& btnXemCoAn() const { return btnXemCoAn_; }
    const std::shared_ptr<platform::ui::Button>& btnViewPlayer() const { return btnViewPlayer_; }
    const std::shared_ptr<platform::ui::View>& viewCoAn() const { return viewCoAn_; }
    const std::shared_ptr<platform::ui::ImageView>& bgViewCoAn() const { return bgViewCoAn_; }

    void viewDidLoad() override;

    // The tag of the icons in the panel.
    static constexpr int kIconTag = 2;

protected:
    CoTuongService& service() const override;
    std::shared_ptr<Piece> makeStartPiece(int type, int x, int y, const std::shared_ptr<Team>& team) override;
    std::shared_ptr<Piece> makeSnapshotPiece(const PieceServer& record, const std::shared_ptr<Team>& team) override;
    int seatOfNewcomer(size_t index) const override;
    bool readyClearsBoard() const override { return false; }
    bool hasUndoPanel() const override { return false; }

private:
    void buildEatenPanel();

    std::shared_ptr<platform::ui::Button> btnXemCoAn_;
    std::shared_ptr<platform::ui::Button> btnViewPlayer_;
    std::shared_ptr<platform::ui::View> viewCoAn_;
    std::shared_ptr<platform::ui::ImageView> bgViewCoAn_;
};

} // namespace kavo
