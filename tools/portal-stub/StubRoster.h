#pragma once

#include "net/Message.h"

#include <cstdint>
#include <string>

namespace portalstub {

// One of the stub's own players: the one id and name he has at every table, in every
// list and profile, and the money he starts the stub's life with (the ledger keeps it
// from then on).
struct StubPlayer {
    int32_t id;
    const char* name;
    int64_t startMoney;
};

// Every stub player. The first thirty are the ranked ones, richest first at the start.
inline constexpr StubPlayer kStubPlayers[] = {
    {201, "an", 50000000},    {202, "binh", 48500000}, {203, "chi", 47000000},   {204, "dung", 45500000},
    {205, "giang", 44000000}, {4003, "hoa", 42500000}, {507, "khanh", 41000000}, {4001, "lan", 39500000},
    {4002, "minh", 38000000}, {510, "nam", 36500000},  {511, "oanh", 35000000},  {512, "phuong", 33500000},
    {513, "quang", 32000000}, {514, "son", 30500000},  {515, "tam", 29000000},   {516, "uyen", 27500000},
    {517, "vinh", 26000000},  {518, "xuan", 24500000}, {519, "yen", 23000000},   {520, "bao", 21500000},
    {521, "cuong", 20000000}, {522, "duc", 18500000},  {523, "hai", 17000000},   {524, "hung", 15500000},
    {525, "kim", 14000000},   {526, "linh", 12500000}, {527, "mai", 11000000},   {528, "ngoc", 9500000},
    {529, "phuc", 8000000},   {530, "thu", 6500000},   {206, "full", 500000},    {207, "andrea", 500000},
    {2004, "tuan", 500000},   {2005, "vy", 500000},    {3003, "khoa", 500000},   {77777, "May", 500000},
};
inline constexpr int kRankedPlayers = 30;

// A person's id (a hash of his name) lies from here up, every stub player's below: a
// person never signs in under a stub player's id, so no table takes one for the other.
inline constexpr int32_t kFirstPersonId = 1000000;
inline constexpr int32_t kPersonIds = 1000000000;
constexpr bool rosterBelowPersons() {
    for (const StubPlayer& player : kStubPlayers)
        if (player.id >= kFirstPersonId) return false;
    return true;
}
static_assert(rosterBelowPersons(), "a stub player's id lies among the persons' ids");

// The stub player who takes the `n`th place a kick empties at a table: those no table
// seats at first, in turn.
const StubPlayer& stubNewcomer(size_t n);
// The stub player with `id` or `name`; null for anyone else.
const StubPlayer* stubPlayerWithId(int32_t id);
const StubPlayer* stubPlayerNamed(const std::string& name);
// The id of a stub player by name (0 for anyone else).
int32_t stubPlayerId(const std::string& name);
// The one avatar the stub player with `id` wears in every reply that names him (a seat, a
// list, his details and profile): one of the first six, by his place in the roster; 1 for
// anyone else.
int16_t stubPlayerAvatar(int32_t id);

// Reply 34, the details of a player: a stub player's name and amount, or the signed-in
// player's; any other id is answered with -1, which the client drops.
kavo::Message playerDetail(int32_t id);

} // namespace portalstub
