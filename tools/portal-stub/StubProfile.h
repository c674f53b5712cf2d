#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace platform {
class SqliteDatabase;
}

namespace portalstub {

// A person's own profile, kept in the stub's store (StubStore) for the stub's life, by
// his name: the personal data he saved (nothing until he saves it), the avatar he chose,
// the avatars and items he bought, and the hands he played at the stub's tables (won,
// lost or even, the game, the seconds seated for it), from which his achievements and
// his playing time are told.
class StubProfile {
public:
    // What an owned thing is: an avatar or an item.
    static constexpr char kAvatar = 'a';
    static constexpr char kItem = 'i';
    // The avatar every person has without buying it.
    static constexpr int32_t kFirstAvatar = 1;
    // The province of a profile that names none.
    static constexpr int8_t kNoProvince = -1;

    // The personal data of the profile, as the client saves it (1002).
    struct Record {
        std::string fullname;
        int8_t gender = 0; // not told
        int16_t birthYear = 0;
        std::string address;
        std::string idnumber;
        std::string phone;
        int8_t province = kNoProvince;
        int8_t birthMonth = 0;
        int8_t birthDay = 0;
        int32_t avatar = kFirstAvatar;
    };
    // His profile (a new person's is empty, with the first avatar).
    static Record of(const std::string& person);
    // The avatar he wears, as the sign-in and his seat at a table name it (a short).
    static int16_t avatarOf(const std::string& person) { return int16_t(of(person).avatar); }
    // Keeps his personal data (not the avatar).
    static void save(const std::string& person, const Record& record);
    // Wears `avatar` when he may (the first one or one he bought): whether it is worn.
    static bool choose(const std::string& person, int32_t avatar);

    // He now owns the avatar or item `id`, inside the caller's transaction (with its
    // payment): whether it was kept (never outside a row that moves money or ownership,
    // StubMoneyRow). What he owns of a kind, in the order bought (an avatar once).
    static bool own(platform::SqliteDatabase& db, const std::string& person, char kind, int32_t id);
    // Whether he owns it, inside the caller's transaction.
    static bool owns(platform::SqliteDatabase& db, const std::string& person, char kind, int32_t id);
    static std::vector<int32_t> owned(const std::string& person, char kind);
    // The same for the stub player with `player`'s id, who keeps what he is given (his
    // profile, made up, shows none of it).
    static bool ownedByStubPlayer(platform::SqliteDatabase& db, int32_t player, char kind, int32_t id);
    static bool stubPlayerOwns(platform::SqliteDatabase& db, int32_t player, char kind, int32_t id);

    // His record at a game (0: at every game).
    struct Achievement {
        int32_t experience = 0;
        int32_t wins = 0;
        int32_t losses = 0;
        int32_t draws = 0;
        int64_t seconds = 0;
    };
    static Achievement achievement(const std::string& person, int game);

    // The process's one profile clock: the person sat at a table of `game`, and a hand
    // of his ended there having moved his money by `change` (0: even), which is kept with
    // the seconds since he sat or since his last hand ended.
    static StubProfile& session();
    void seated(int game);
    void handEnded(const std::string& person, int64_t change);

private:
    std::mutex mutex_;
    int game_ = 0;
    int64_t since_ = 0; // steady milliseconds
};

} // namespace portalstub
