#include "games/cotuong/ChessMan.h"

#include "app/Util.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/ChessManKinds.h"
#include "games/cotuong/ChessTableView.h"
#include "games/cotuong/CoTuongUtils.h"
#include "games/cotuong/Team.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

struct KindImages {
    PieceKind kind;
    const char* red;
    const char* black;
};

constexpr KindImages kImages[] = {
    {PieceKind::Jiang, "ct_r_jiang", "ct_b_jiang"}, {PieceKind::Shi, "ct_r_shi", "ct_b_shi"},
    {PieceKind::Xiang, "ct_r_xiang", "ct_b_xiang"}, {PieceKind::Ma, "ct_r_ma", "ct_b_ma"},
    {PieceKind::Ju, "ct_r_ju", "ct_b_ju"},          {PieceKind::Pao, "ct_r_pao", "ct_b_pao"},
    {PieceKind::Zu, "ct_r_zu", "ct_b_zu"},
};

constexpr double kPieceSide = 30;
constexpr double kEatMarkSide = 34;
constexpr double kMoveMarkSide = 15;
// Tiles of the capture fly this far outward, in this order: top-left, bottom-left,
// top-right, bottom-right.
constexpr double kSplitDistance = 30;
constexpr double kSplitSeconds = 0.5;

// Squares through the rules, as this board's pieces stand.
class BoardSquares : public SquareLookup {
public:
    explicit BoardSquares(const CCBoard* board) : board_(board) {}
    std::optional<int> teamAt(int x, int y) const override { return board_ ? board_->teamAt(x, y) : std::nullopt; }

private:
    const CCBoard* board_;
};

} // namespace

Piece::Piece(PieceKind kind, const std::shared_ptr<Team>& team) : kind_(kind), team_(team) {
    ownerTeam_ = team ? team->name() : std::string();
    const ChessTableView* table = team && team->board() ? team->board()->table() : nullptr;
    if (table) {
        names_[table->red()] = redImageName(kind);
        names_[table->black()] = blackImageName(kind);
    }
    auto found = names_.find(ownerTeam_);
    name_ = found == names_.end() ? redImageName(kind) : found->second;
    setImage(Util::getImageWithName(name_ + ".png"));
    setBounds({0, 0, kPieceSide * CoTuongUtils::iPadX(), kPieceSide * CoTuongUtils::iPadY()});
    setBackgroundColor(ui::Color::clear());
}

ui::Point Piece::convertPoint(int x, int y) {
    if (Util::isPad()) return {44.0 + 61.0 * x, 75.0 + 62.0 * (9 - y)};
    return {17.0 + 28.0 * x, 15.0 + 29.0 * (9 - y)};
}

const char* Piece::redImageName(PieceKind kind) {
    for (const auto& images : kImages)
        if (images.kind == kind) return images.red;
    return "";
}

const char* Piece::blackImageName(PieceKind kind) {
    for (const auto& images : kImages)
        if (images.kind == kind) return images.black;
    return "";
}

CCBoard* Piece::board() const {
    auto owner = team();
    return owner ? owner->board() : nullptr;
}

BoardSide Piece::side() const {
    const CCBoard* onBoard = board();
    const ChessTableView* table = onBoard ? onBoard->table() : nullptr;
    if (!table) return BoardSide::Bottom;
    const std::string& top = table->isBottomRed() ? table->black() : table->red();
    return ownerTeam_ == top ? BoardSide::Top : BoardSide::Bottom;
}

RuleUnit Piece::ruleUnit() const {
    auto owner = team();
    return {x_, y_, kind_, side(), owner ? owner->id() : 0, isConfined()};
}

void Piece::setSquare(int x, int y) {
    x_ = x;
    y_ = y;
    location_ = convertPoint(x, y);
    setAccessibilityIdentifier("piece_" + std::to_string(x) + "_" + std::to_string(y));
}

void Piece::forceMoveTo(int x, int y) {
    setSquare(x, y);
}

std::shared_ptr<Piece> Piece::moveTo(int x, int y) {
    std::shared_ptr<Piece> captured;
    if (isMoveAttack(x, y)) {
        if (CCBoard* onBoard = board()) captured = onBoard->getUnitAtPoint(x, y);
    }
    setSquare(x, y);
    auto self = std::static_pointer_cast<Piece>(shared_from_this());
    const ui::Point target = location_;
    ui::View::animate(0.3, [self, target] { self->setCenter(target); });
    return captured;
}

bool Piece::isMoveAllowed(int x, int y) const {
    return CoTuongRules::isMoveAllowed(ruleUnit(), x, y, BoardSquares(board()));
}

bool Piece::isMoveAttack(int x, int y) const {
    return CoTuongRules::isMoveAttack(ruleUnit(), x, y, BoardSquares(board()));
}

void Piece::detectMoveable() {
    CCBoard* onBoard = board();
    if (!onBoard) return;
    const double sx = CoTuongUtils::iPadX();
    const double sy = CoTuongUtils::iPadY();
    for (const auto& square : CoTuongRules::moveTargets(ruleUnit(), BoardSquares(onBoard))) {
        const bool eat = onBoard->getUnitAtPoint(square.x, square.y) != nullptr;
        const double side = eat ? kEatMarkSide : kMoveMarkSide;
        auto mark = ui::ImageView::make(ui::Rect{0, 0, side * sx, side * sy});
        mark->setImage(eat ? onBoard->imgEat() : onBoard->imgMove());
        mark->setCenter(convertPoint(square.x, square.y));
        mark->setTag(CCBoard::kMarkTag);
        mark->setUserInteractionEnabled(false);
        mark->setAccessibilityIdentifier("mark_" + std::to_string(square.x) + "_" + std::to_string(square.y));
        onBoard->addSubview(mark);
        if (eat) onBoard->sendSubviewToBack(mark.get());
    }
}

bool Piece::detectEatJiang() const {
    const CCBoard* onBoard = board();
    auto own = team();
    if (!onBoard || !own || !onBoard->team_1() || !onBoard->team_2()) return false;
    const auto& enemy = own->name() == onBoard->team_1()->name() ? onBoard->team_2() : onBoard->team_1();
    for (const auto& general : enemy->pieces()) {
        if (!general->vital()) continue;
        for (const auto& piece : own->pieces()) {
            if (piece->isMoveAllowed(general->x(), general->y()) && piece->isMoveAttack(general->x(), general->y()))
                return true;
        }
    }
    return false;
}

void Piece::selected() {
    auto self = std::static_pointer_cast<Piece>(shared_from_this());
    ui::View::animate(0.3, [self] { self->setTransform(ui::AffineTransform::scale(1.1, 1.1)); });
    layer().setBorderColor(ui::Color::rgba(255, 255, 0));
    layer().setBorderWidth(2);
    layer().setCornerRadius(bounds().width() / 2);
}

void Piece::deselected() {
    auto self = std::static_pointer_cast<Piece>(shared_from_this());
    ui::View::animate(0.3, [self] { self->setTransform(ui::AffineTransform()); });
    layer().setBorderWidth(0);
}

void Piece::removeFromBoard() {
    splitPiece();
    removeFromSuperview();
}

void Piece::splitPiece() {
    CCBoard* onBoard = board();
    if (!onBoard || !image()) return;
    const int w = int(kPieceSide * Util::iPadX() / 2);
    const int h = int(kPieceSide * Util::iPadY() / 2);
    const ui::Rect from = frame();
    int index = 0;
    for (int i = 0; i <= w; i += w) {
        for (int j = 0; j <= h; j += h) {
            auto tile = ui::View::make({from.x() + i, from.y() + j, double(w), double(h)});
            auto picture = ui::ImageView::make(ui::Rect{0, 0, double(w), double(h)});
            picture->setImage(image()->cropped({double(i), double(j), double(w), double(h)}));
            tile->addSubview(picture);
            tile->setTag(index);
            tile->setUserInteractionEnabled(false);
            tile->setAccessibilityIdentifier("pieceSplit" + std::to_string(index));
            onBoard->addSubview(tile);
            const double dx = i == 0 ? -kSplitDistance : kSplitDistance;
            const double dy = j == 0 ? -kSplitDistance : kSplitDistance;
            const ui::Point target{tile->frame().x() + dx, tile->frame().y() + dy};
            ui::View::animate(
                kSplitSeconds, [tile, target] { tile->setCenter(target); },
                [tile](bool) { tile->removeFromSuperview(); });
            ++index;
        }
    }
}

std::shared_ptr<Piece> makePiece(int typeCode, int x, int y, const std::shared_ptr<Team>& team) {
    std::shared_ptr<Piece> piece;
    switch (typeCode) {
    case int(PieceKind::Jiang):
        piece = std::make_shared<Jiang>(team);
        break;
    case int(PieceKind::Shi):
        piece = std::make_shared<Shi>(team);
        break;
    case int(PieceKind::Xiang):
        piece = std::make_shared<Xiang>(team);
        break;
    case int(PieceKind::Ma):
        piece = std::make_shared<Ma>(team);
        break;
    case int(PieceKind::Ju):
        piece = std::make_shared<Ju>(team);
        break;
    case int(PieceKind::Pao):
        piece = std::make_shared<Pao>(team);
        break;
    case int(PieceKind::Zu):
        piece = std::make_shared<Zu>(team);
        break;
    default:
        return nullptr;
    }
    piece->forceMoveTo(x, y);
    return piece;
}

} // namespace kavo
