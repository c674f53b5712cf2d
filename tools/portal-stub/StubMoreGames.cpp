#include "tools/portal-stub/StubMoreGames.h"

#include "tools/portal-stub/StubLanguage.h"

namespace portalstub {

namespace {

constexpr const char* kVietnamesePath = "/more-games.html";
constexpr const char* kEnglishPath = "/more-games-en.html";

const char* kVietnamesePage =
    "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
    "<h1>Trò chơi khác</h1>"
    "<p>Máy chủ này có chín trò chơi: Tiến lên, Tiến lên miền Bắc, Phỏm, Bài cào, Xì dách, Mậu binh, "
    "Cào rùa, Cờ tướng và Cờ úp.</p>"
    "<p>Cờ vua, Bầu cua, Poker, Caro và Xếp gạch có trên lưới trò chơi nhưng chưa chơi được ở đây.</p>"
    "</body></html>\n";
const char* kEnglishPage =
    "<html><head><meta charset=\"utf-8\"><title>Kavo</title></head><body>"
    "<h1>More games</h1>"
    "<p>This server plays nine games: Tien Len, Tien Len MB, Phom, Bai Cao, Xi Zach, Mau Binh, "
    "Cao Rua, Chinese chess and hidden-piece Chinese chess.</p>"
    "<p>Chess, Bau Cua, Poker, Caro and Tetris are on the game grid but cannot be played here yet.</p>"
    "</body></html>\n";

} // namespace

std::map<std::string, std::string> moreGamesPages() {
    return {{kVietnamesePath, kVietnamesePage}, {kEnglishPath, kEnglishPage}};
}

std::string moreGamesAddress(uint16_t httpPort) {
    return "http://127.0.0.1:" + std::to_string(httpPort) + say(kVietnamesePath, kEnglishPath);
}

} // namespace portalstub
