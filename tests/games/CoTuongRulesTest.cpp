// The Chinese chess move rules on a board with no views.
#include "games/cotuong/CoTuongRules.h"

#include "tools/portal-stub/CoTuongPosition.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

constexpr int kMine = 1;
constexpr int kTheirs = 2;

RuleUnit unit(PieceKind kind, int x, int y, BoardSide side = BoardSide::Bottom, int team = kMine) {
    return {x, y, kind, side, team, true};
}

bool allowed(const CoTuongPosition& board, const RuleUnit& piece, int x, int y) {
    return CoTuongRules::isMoveAllowed(piece, x, y, board);
}

using Square = CoTuongRules::Square;

TEST(CoTuongRules, TheCannonCapturesOverExactlyOneScreenAndMovesOnlyOverNone) {
    const RuleUnit cannon = unit(PieceKind::Pao, 1, 2);
    CoTuongPosition board({cannon, unit(PieceKind::Zu, 1, 4), unit(PieceKind::Ma, 1, 7, BoardSide::Top, kTheirs),
                           unit(PieceKind::Ju, 5, 2, BoardSide::Top, kTheirs)});
    EXPECT_TRUE(allowed(board, cannon, 1, 7)) << "one screen: the capture";
    EXPECT_FALSE(allowed(board, cannon, 1, 6)) << "over one screen to an empty square";
    EXPECT_FALSE(allowed(board, cannon, 1, 4)) << "its own soldier";
    EXPECT_TRUE(allowed(board, cannon, 1, 3)) << "no screen, an empty square";
    EXPECT_FALSE(allowed(board, cannon, 5, 2)) << "no screen, an enemy: no capture";
    EXPECT_TRUE(allowed(board, cannon, 4, 2));
    board.add(unit(PieceKind::Zu, 3, 2));
    EXPECT_TRUE(allowed(board, cannon, 5, 2)) << "now over one";
    board.add(unit(PieceKind::Zu, 1, 5, BoardSide::Top, kTheirs));
    EXPECT_FALSE(allowed(board, cannon, 1, 7)) << "over two";
}

TEST(CoTuongRules, ABlockedHorseLegClosesOneDirectionOnly) {
    const RuleUnit horse = unit(PieceKind::Ma, 4, 4);
    CoTuongPosition board({horse, unit(PieceKind::Zu, 4, 5)});
    EXPECT_FALSE(allowed(board, horse, 3, 6));
    EXPECT_FALSE(allowed(board, horse, 5, 6));
    for (Square open : {Square{3, 2}, Square{5, 2}, Square{2, 3}, Square{2, 5}, Square{6, 3}, Square{6, 5}})
        EXPECT_TRUE(allowed(board, horse, open.x, open.y)) << open.x << "," << open.y;
    EXPECT_FALSE(allowed(board, horse, 5, 5)) << "no diagonal step";
    EXPECT_FALSE(allowed(board, horse, 6, 6)) << "no elephant jump";
}

TEST(CoTuongRules, TheElephantStaysOnItsHalfAndNeedsAnEmptyEye) {
    const RuleUnit bottom = unit(PieceKind::Xiang, 2, 4);
    CoTuongPosition board({bottom, unit(PieceKind::Zu, 3, 3)});
    EXPECT_FALSE(allowed(board, bottom, 4, 6)) << "across the river";
    EXPECT_FALSE(allowed(board, bottom, 4, 2)) << "the eye (3, 3) is taken";
    EXPECT_TRUE(allowed(board, bottom, 0, 2));
    EXPECT_FALSE(allowed(board, bottom, 3, 5)) << "one step";
    const RuleUnit top = unit(PieceKind::Xiang, 2, 5, BoardSide::Top, kTheirs);
    CoTuongPosition topBoard({top});
    EXPECT_FALSE(allowed(topBoard, top, 4, 3));
    EXPECT_TRUE(allowed(topBoard, top, 4, 7));
    RuleUnit free = top;
    free.confined = false;
    EXPECT_TRUE(allowed(topBoard, free, 4, 3)) << "a piece whose limits are lifted crosses";
}

TEST(CoTuongRules, TheSoldierStepsSidewaysOnlyAcrossTheRiverAndNeverBack) {
    struct Case {
        BoardSide side;
        int x, y, tx, ty;
        bool allowed;
    };
    const Case cases[] = {
        {BoardSide::Bottom, 4, 4, 4, 5, true},  {BoardSide::Bottom, 4, 4, 3, 4, false},
        {BoardSide::Bottom, 4, 4, 5, 4, false}, {BoardSide::Bottom, 4, 5, 3, 5, true},
        {BoardSide::Bottom, 4, 5, 5, 5, true},  {BoardSide::Bottom, 4, 5, 4, 4, false},
        {BoardSide::Bottom, 4, 5, 4, 6, true},  {BoardSide::Top, 4, 5, 4, 4, true},
        {BoardSide::Top, 4, 5, 3, 5, false},    {BoardSide::Top, 4, 4, 3, 4, true},
        {BoardSide::Top, 4, 4, 4, 5, false},    {BoardSide::Bottom, 4, 9, 4, 10, false},
    };
    for (const Case& c : cases) {
        const RuleUnit soldier = unit(PieceKind::Zu, c.x, c.y, c.side);
        EXPECT_EQ(allowed(CoTuongPosition({soldier}), soldier, c.tx, c.ty), c.allowed)
            << (c.side == BoardSide::Top ? "top " : "bottom ") << c.x << "," << c.y << " -> " << c.tx << "," << c.ty;
    }
}

TEST(CoTuongRules, TheGeneralStepsOrthogonallyInsideItsPalace) {
    const RuleUnit general = unit(PieceKind::Jiang, 4, 9, BoardSide::Top, kTheirs);
    const CoTuongPosition board({general, unit(PieceKind::Shi, 5, 9, BoardSide::Top, kTheirs)});
    EXPECT_EQ(CoTuongRules::moveTargets(general, board), (std::vector<Square>{{3, 9}, {4, 8}}))
        << "(5, 9) holds its own advisor";
    const RuleUnit corner = unit(PieceKind::Jiang, 3, 7, BoardSide::Top, kTheirs);
    EXPECT_EQ(CoTuongRules::moveTargets(corner, CoTuongPosition({corner})), (std::vector<Square>{{3, 8}, {4, 7}}));
    const RuleUnit advisor = unit(PieceKind::Shi, 4, 1);
    EXPECT_EQ(CoTuongRules::moveTargets(advisor, CoTuongPosition({advisor})),
              (std::vector<Square>{{3, 0}, {3, 2}, {5, 0}, {5, 2}}));
}

TEST(CoTuongRules, TheChariotStopsAtTheFirstPieceAndTakesIt) {
    const RuleUnit chariot = unit(PieceKind::Ju, 0, 0);
    CoTuongPosition board({chariot, unit(PieceKind::Zu, 0, 3, BoardSide::Top, kTheirs), unit(PieceKind::Ma, 1, 0)});
    EXPECT_EQ(CoTuongRules::moveTargets(chariot, board), (std::vector<Square>{{0, 1}, {0, 2}, {0, 3}}));
}

TEST(CoTuongRules, OwnSquaresAndSquaresOffTheBoardAreNeverAllowed) {
    const CoTuongPosition board = CoTuongPosition::opening(kMine, kTheirs);
    for (const RuleUnit& piece : board.units()) {
        EXPECT_FALSE(allowed(board, piece, piece.x, piece.y));
        for (Square off : {Square{9, piece.y}, Square{piece.x, -1}, Square{-1, piece.y}, Square{piece.x, 10}})
            EXPECT_FALSE(allowed(board, piece, off.x, off.y));
    }
}

TEST(CoTuongRules, ADiscoveredChariotCheckIsACheck) {
    // The horse on (4, 4) blocks the file between the chariot and the enemy general.
    CoTuongPosition board({unit(PieceKind::Ju, 4, 1), unit(PieceKind::Ma, 4, 4), unit(PieceKind::Jiang, 3, 0),
                           unit(PieceKind::Jiang, 4, 9, BoardSide::Top, kTheirs)});
    EXPECT_FALSE(board.attacksGeneral(kMine));
    board.move(4, 4, 2, 5);
    EXPECT_TRUE(board.attacksGeneral(kMine)) << "the horse gives no check itself; the chariot does";
    EXPECT_FALSE(board.attacksGeneral(kTheirs));
}

TEST(CoTuongRules, TheOpeningHasFortyFourMovesAndMarksOnTheRightSquares) {
    const CoTuongPosition board = CoTuongPosition::opening(kMine, kTheirs);
    EXPECT_EQ(board.allowedMoves(kMine).size(), 44u);
    EXPECT_EQ(board.allowedMoves(kTheirs).size(), 44u);
    const RuleUnit* cannon = board.unitAt(1, 2);
    ASSERT_NE(cannon, nullptr);
    EXPECT_EQ(CoTuongRules::moveTargets(*cannon, board),
              (std::vector<Square>{
                  {0, 2}, {1, 1}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 9}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}}));
}

TEST(CoTuongRules, AMoveTakesTheEnemyOnItsTargetAndAnEmptySourceMovesNothing) {
    // The top side's pieces come first in the list: my cannon takes a piece listed
    // before it, theirs one listed after it.
    CoTuongPosition board = CoTuongPosition::opening(kMine, kTheirs);
    const struct {
        int xs, ys, xd, yd, team;
        size_t left;
    } takes[] = {{7, 2, 7, 9, kMine, 31}, {1, 7, 1, 0, kTheirs, 30}};
    for (const auto& take : takes) {
        const auto taken = board.move(take.xs, take.ys, take.xd, take.yd);
        ASSERT_TRUE(taken.has_value());
        EXPECT_EQ(taken->kind, PieceKind::Ma);
        EXPECT_NE(taken->team, take.team);
        EXPECT_EQ(board.units().size(), take.left);
        EXPECT_EQ(board.unitAt(take.xs, take.ys), nullptr) << "the cannon of " << take.xs << "," << take.ys;
        EXPECT_EQ(board.unitAt(take.xd, take.yd)->kind, PieceKind::Pao);
        EXPECT_EQ(board.unitAt(take.xd, take.yd)->team, take.team);
    }
    EXPECT_FALSE(board.move(4, 4, 4, 5).has_value());
    EXPECT_EQ(board.unitAt(4, 5), nullptr);
}

TEST(CoTuongRules, OnlyATakeOfTheEnemyGeneralIsACheck) {
    const RuleUnit general = unit(PieceKind::Jiang, 4, 9, BoardSide::Top, kTheirs);
    const CoTuongPosition onFile({unit(PieceKind::Ju, 4, 0), general});
    EXPECT_TRUE(onFile.attacksGeneral(kMine));
    EXPECT_FALSE(onFile.attacksGeneral(kTheirs)) << "nothing of mine is a general";
    const CoTuongPosition horseOnly(
        {unit(PieceKind::Ju, 0, 0), general, unit(PieceKind::Ma, 0, 9, BoardSide::Top, kTheirs)});
    EXPECT_FALSE(horseOnly.attacksGeneral(kMine)) << "the chariot takes a horse, not the general";
    const CoTuongPosition farAway({unit(PieceKind::Zu, 0, 3), general});
    EXPECT_FALSE(farAway.attacksGeneral(kMine)) << "a soldier that cannot reach it";
}

TEST(CoTuongRules, OnlyAnEnemyPieceIsAnAttack) {
    const RuleUnit chariot = unit(PieceKind::Ju, 0, 0);
    const CoTuongPosition board(
        {chariot, unit(PieceKind::Zu, 0, 3), unit(PieceKind::Zu, 0, 6, BoardSide::Top, kTheirs)});
    EXPECT_FALSE(CoTuongRules::isMoveAttack(chariot, 0, 3, board)) << "my own soldier";
    EXPECT_TRUE(CoTuongRules::isMoveAttack(chariot, 0, 6, board));
    EXPECT_FALSE(CoTuongRules::isMoveAttack(chariot, 0, 5, board)) << "an empty square";
}

} // namespace
} // namespace kavo
