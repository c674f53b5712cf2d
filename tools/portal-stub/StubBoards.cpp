#include "tools/portal-stub/StubBoards.h"

#include "tools/portal-stub/StubLanguage.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace portalstub {

namespace {

constexpr int kFirstCreated = int(std::size(kBoardStakes)) + 1;

std::mutex boardsMutex;
std::map<int, int32_t> createdStakes;        // guarded by boardsMutex
std::map<int, std::string> createdPasswords; // guarded by boardsMutex
std::map<int, int> createdPlayers;           // guarded by boardsMutex; 0: every place
int nextCreated = kFirstCreated;             // guarded by boardsMutex

} // namespace

std::string stakeRefusal(int32_t stake) {
    if (stake <= 0) return say("Mức cược phải lớn hơn 0 Zel", "The stake must be more than 0 Zel");
    if (stake > kHighestStake)
        return say("Mức cược tối đa là " + groupedAmount(kHighestStake) + " Zel",
                   "The highest stake is " + groupedAmount(kHighestStake) + " Zel");
    return "";
}

int32_t stakeOfBoard(int board) {
    if (board >= 1 && board < kFirstCreated) return kBoardStakes[board - 1];
    std::lock_guard lock(boardsMutex);
    auto created = createdStakes.find(board);
    return created != createdStakes.end() ? created->second : 1000;
}

int8_t createBoard(int32_t stake, const std::string& password, int players) {
    std::lock_guard lock(boardsMutex);
    const int board = nextCreated;
    nextCreated = nextCreated >= 127 ? kFirstCreated : nextCreated + 1;
    createdStakes[board] = stake;
    createdPasswords[board] = password;
    createdPlayers[board] = players;
    return int8_t(board);
}

int playersAtBoard(int board, int places) {
    std::lock_guard lock(boardsMutex);
    auto created = createdPlayers.find(board);
    if (created == createdPlayers.end() || created->second == 0) return places;
    return std::clamp(created->second, 2, std::max(places, 2));
}

bool boardAdmits(int board, const std::string& password) {
    if (board == kLockedBoard) return password == kLockedBoardPassword;
    std::lock_guard lock(boardsMutex);
    auto created = createdPasswords.find(board);
    return created == createdPasswords.end() || created->second.empty() || created->second == password;
}

} // namespace portalstub
