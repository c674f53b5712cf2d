#pragma once

#include "games/cotuong/CoTuongRules.h"
#include "games/cotuong/MoveRecords.h"
#include "platform/ui/ImageView.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class ChessTableView;
class Piece;
class Team;

// The 9 x 10 board view of both Chinese chess tables. It converts between its own
// points and squares, turns the player's taps into a picked piece and a move request,
// and animates the moves and undo steps the server reports. Squares are (column 0-8
// from the left, row 0-9 from the bottom), as on the wire. The table that owns it is
// a back pointer that the table clears when it goes. Main thread only.
//
// Delayed steps (a capture, sounds and marks after 0.3 and 0.4 s, undo steps) belong
// to one laying-out of the pieces: once the board is cleared they do nothing.
class CCBoard : public platform::ui::ImageView, public SquareLookup {
public:
    // The tag of the move marks, which the next tap removes.
    static constexpr int kMarkTag = 2;

    explicit CCBoard(platform::ui::Rect frame);
    static std::shared_ptr<CCBoard> make(platform::ui::Rect frame);

    ChessTableView* table() const { return table_; }
    void setTable(ChessTableView* table) { table_ = table; }

    const std::shared_ptr<Team>& team_1() const { return team_1_; }
    void setTeam_1(std::shared_ptr<Team> team) { team_1_ = std::move(team); }
    const std::shared_ptr<Team>& team_2() const { return team_2_; }
    void setTeam_2(std::shared_ptr<Team> team) { team_2_ = std::move(team); }
    const std::shared_ptr<Piece>& selectedPiece() const { return selectedPiece_; }
    bool isPieceSelected() const { return isPieceSelected_; }
    platform::ui::Point sqSelected() const { return sqSelected_; }
    const platform::ui::ImagePtr& imgMove() const { return imgMove_; }
    const platform::ui::ImagePtr& imgEat() const { return imgEat_; }

    // A point of the board to (column, row counted from the top).
    static platform::ui::Point convertPointToBoard(platform::ui::Point point);
    static platform::ui::Point convertToBoard(platform::ui::Point point) { return convertPointToBoard(point); }
    // Edges included.
    static bool rectContainsPoint(const platform::ui::Rect& rect, platform::ui::Point point);

    // team_1's piece on the square, else team_2's, else nullptr.
    std::shared_ptr<Piece> getUnitAtPoint(int x, int y) const;
    // team_1's pieces, then team_2's.
    std::vector<std::shared_ptr<Piece>> getAllPieces() const;
    // The first piece whose frame holds the square's centre.
    std::shared_ptr<Piece> getPieceWillMove(int x, int y) const;
    std::optional<int> teamAt(int x, int y) const override;

    void addPiece(const std::shared_ptr<Piece>& piece);
    void removePiece(const std::shared_ptr<Piece>& piece);
    // A move the server reported: slides the piece, then (0.3 s) the capture or the
    // move sound and the last-move mark, and (0.4 s) the check sound. Returns the piece,
    // nullptr when no piece stands on the source square (then nothing moves).
    std::shared_ptr<Piece> movePiecefromPoint(int xs, int ys, int xd, int yd);
    void moveBorderPiece(const std::shared_ptr<Piece>& piece);
    // One undo step: the piece goes back and a captured piece comes back.
    void moveUndoPieceWithPiece(const PieceUndo& undo);

    // Removes the move marks.
    void removeMarks();
    // Takes every piece and mark off and ends the delayed steps of the old layout.
    void clearBoard();
    uint64_t generation() const { return generation_; }
    // Ends the delayed steps under way; the pieces stay.
    void cancelDelayedSteps() { ++generation_; }
    // Runs `step` after `seconds` unless the board was cleared meanwhile.
    void afterDelay(double seconds, std::function<void(CCBoard&)> step);

    // The tap handler.
    void touchesEnded(const std::vector<platform::ui::Touch>& touches) override;
    // The same, with the point in the board's coordinates.
    void tapAt(platform::ui::Point point);

private:
    void deselect();

    ChessTableView* table_ = nullptr;
    std::shared_ptr<Team> team_1_;
    std::shared_ptr<Team> team_2_;
    std::shared_ptr<Piece> selectedPiece_;
    bool isPieceSelected_ = false;
    platform::ui::Point sqSelected_;
    platform::ui::ImagePtr imgMove_;
    platform::ui::ImagePtr imgEat_;
    uint64_t generation_ = 0;
};

} // namespace kavo
