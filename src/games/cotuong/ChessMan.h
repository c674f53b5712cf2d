#pragma once

#include "games/cotuong/CoTuongRules.h"
#include "platform/ui/ImageView.h"

#include <map>
#include <memory>
#include <string>

namespace kavo {

class CCBoard;
class Team;

// One piece standing on the board view: an image view on its square with its kind's
// rule. Its colour comes from its team's name (the table's red or black player); the
// side it plays from (top or bottom) from the table's isBottomRed. The view carries the
// identifier "piece_<x>_<y>" of its square, kept current as it moves. Main thread only.
class Piece : public platform::ui::ImageView {
public:
    Piece(PieceKind kind, const std::shared_ptr<Team>& team);

    // The centre of a square on the board view.
    static platform::ui::Point convertPoint(int x, int y);
    // The image base names of a kind: red and black.
    static const char* redImageName(PieceKind kind);
    static const char* blackImageName(PieceKind kind);

    int x() const { return x_; }
    int y() const { return y_; }
    platform::ui::Point location() const { return location_; }
    platform::ui::Point position() const { return {double(x_), double(y_)}; }
    PieceKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    const std::map<std::string, std::string>& names() const { return names_; }
    // Only the general.
    bool vital() const { return kind_ == PieceKind::Jiang; }
    std::shared_ptr<Team> team() const { return team_.lock(); }
    // The team's name when the piece was made.
    const std::string& ownerTeam() const { return ownerTeam_; }
    // The side it plays from, as the table tells.
    BoardSide side() const;
    // The advisor's palace and the elephant's half hold (the hidden-piece game lifts
    // them for revealed pieces).
    virtual bool isConfined() const { return true; }

    // Sets the square and its centre without moving the view.
    void forceMoveTo(int x, int y);
    // Goes to the square (a 0.3 s slide) and returns the enemy piece standing there,
    // which the caller removes.
    std::shared_ptr<Piece> moveTo(int x, int y);

    bool isMoveAllowed(int x, int y) const;
    bool isMoveAttack(int x, int y) const;
    // The move marks of every allowed square, added to the board.
    void detectMoveable();
    // This piece or another of its team could take an enemy general now.
    bool detectEatJiang() const;

    // The picked look (0.3 s, scale 1.1, yellow frame) and back.
    void selected();
    void deselected();
    // The capture: the picture splits in four tiles that fly apart, and the piece leaves.
    void removeFromBoard();
    void splitPiece();

    CCBoard* board() const;
    RuleUnit ruleUnit() const;

private:
    void setSquare(int x, int y);

    PieceKind kind_;
    int x_ = 0;
    int y_ = 0;
    platform::ui::Point location_;
    std::string name_;
    std::map<std::string, std::string> names_;
    std::weak_ptr<Team> team_;
    std::string ownerTeam_;
};

// Makes the piece of a wire type code (1-7) on the square for the team; nullptr for
// any other code.
std::shared_ptr<Piece> makePiece(int typeCode, int x, int y, const std::shared_ptr<Team>& team);

} // namespace kavo
