#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class CCBoard;
class Piece;

// The pieces of one side. A team is named after its player (lower case); its pieces
// take their colour from that name. The board it stands on is a back pointer.
class Team : public std::enable_shared_from_this<Team> {
public:
    Team(CCBoard* board, std::string name);
    static std::shared_ptr<Team> make(CCBoard* board, std::string name);

    CCBoard* board() const { return board_; }
    void setBoard(CCBoard* board) { board_ = board; }
    const std::string& name() const { return name_; }
    const std::vector<std::shared_ptr<Piece>>& pieces() const { return pieces_; }
    // A number no other team has, which the rules compare.
    int id() const { return id_; }

    // Puts the piece on the board, fading it in over 0.3 s, and keeps it.
    void addPiece(const std::shared_ptr<Piece>& piece);
    // Keeps the piece without showing it.
    void addPieceAudibly(const std::shared_ptr<Piece>& piece);
    // Forgets the piece; its view stays.
    void removePiece(const Piece* piece);
    // The capture: the piece splits and leaves the board, and the team forgets it.
    void removePieceAudibly(const Piece* piece);
    // The first piece on the square, or nullptr.
    std::shared_ptr<Piece> unitAt(int x, int y) const;

private:
    CCBoard* board_;
    std::string name_;
    std::vector<std::shared_ptr<Piece>> pieces_;
    int id_;
};

} // namespace kavo
