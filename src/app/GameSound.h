#pragma once

#include <array>
#include <string_view>

namespace kavo {

// The game sounds, in the order they are loaded.
enum class GameSound {
    CtEat,            // a board-game piece is captured
    CtWin,            // a board game is won
    CtMove,           // a piece moves
    CtClick,          // a piece is picked
    CtChieu,          // check
    PlayerJoinBoard,  // a player sits down at the table
    PlayerLeaveBoard, // a player leaves the table
    Ready,            // a player is ready
    TrungTien,        // money is paid out
    ChiaBai,          // cards are dealt
    LatBai,           // a card is turned over
    XaoBai,           // loaded, not played
    NoReady,          // a player cancels ready
    DatTien,          // a stake is set or a bet placed
    OneBeep,          // loaded, not played
    TBingo,           // Tetris lines are cleared
    TDrop,            // a Tetris piece drops
    TRotate,          // a Tetris piece turns
};

struct GameSoundFile {
    GameSound sound;
    std::string_view fileName; // in the bundle's "sounds" folder
};

// Every game sound and its file (".caf" files hold WAV data).
inline constexpr std::array<GameSoundFile, 18> kGameSoundFiles{{
    {GameSound::CtEat, "EAT.WAV"},
    {GameSound::CtWin, "WIN.WAV"},
    {GameSound::CtMove, "MOVE.WAV"},
    {GameSound::CtClick, "CLICK.WAV"},
    {GameSound::CtChieu, "CHIEU.WAV"},
    {GameSound::PlayerJoinBoard, "player_join_board.wav"},
    {GameSound::PlayerLeaveBoard, "player_leave_board.wav"},
    {GameSound::Ready, "ready.wav"},
    {GameSound::TrungTien, "trung-tien.wav"},
    {GameSound::ChiaBai, "chia-bai.wav"},
    {GameSound::LatBai, "lat-bai.caf"},
    {GameSound::XaoBai, "xao-bai.caf"},
    {GameSound::NoReady, "no-ready.caf"},
    {GameSound::DatTien, "dat-tien.caf"},
    {GameSound::OneBeep, "onebeep.caf"},
    {GameSound::TBingo, "t_bingo.wav"},
    {GameSound::TDrop, "t_drop.wav"},
    {GameSound::TRotate, "t_rotate.wav"},
}};

} // namespace kavo
