#pragma once

#include "app/GameSound.h"
#include "platform/foundation/Value.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "portal/model/Player.h"
#include "portal/model/ShopRecords.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kavo {

// Key -> display text of one language.
using LanguageTable = std::unordered_map<std::string, std::string>;

// What the client reads from its bundle and keeps for the whole process: the
// configuration, the language table of the chosen language, the card, clock and
// emoticon pictures, the game sounds, and the pictures (avatars, items) that the
// server sends, with the image views waiting for them.
//
// Threads: the language table is read by the connection's reader thread while the
// main thread may replace it, so a table is never changed once made: loadLanguage
// swaps in a whole new one. The picture cache is reached from both threads too and
// keeps its state under its own lock; image views are touched on the main thread only.
class Resources {
public:
    // The instance the client uses, made on first use.
    static Resources& getInstance();

    // Reads the configuration and picks the language code from the "language" user
    // default (none: "vi"; anything but "vi" and "en": "en"). No language table is
    // loaded yet. The application uses getInstance(); tests may make their own.
    Resources();
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    // ---- Configuration ("KavoOnlineConfig.plist"; a null value when missing)
    const platform::Value& kavoConfig() const { return kavoConfig_; }
    // The value of a configuration key as text, as a number (a port may be written
    // either way) or as a switch; empty, 0 or false when missing.
    std::string configString(std::string_view key) const;
    int configInt(std::string_view key) const;
    bool configBool(std::string_view key) const;

    // ---- Language
    // The text of `key` in the current table, or nothing when the key is missing or
    // no table is loaded. There is no fallback to the other language or to the key.
    std::optional<std::string> getNameWithKey(std::string_view key) const;
    // The same text, or "" when there is none (for labels, which show nothing then).
    std::string textWithKey(std::string_view key) const;
    // Loads "<currentLanguage>.plist" as the new table (none when the file is missing).
    void loadLanguage();
    // Loads the table of currentLanguage again; does nothing while no code is set.
    void resetLanguage();
    // The path is not used: it loads the table of currentLanguage.
    void loadLanguageWithPath(const std::string& path);
    std::string currentLanguage() const;
    // Takes effect at the next loadLanguage.
    void setCurrentLanguage(const std::string& code);
    // The current table; nullptr before the first loadLanguage.
    std::shared_ptr<const LanguageTable> kavoLanguage() const;

    // ---- Shared pictures and sounds, prepared once after the first log-in
    // Cards "100.png", "1.png" .. "51.png"; the Caro clock "caro-0.png" .. "caro-29.png";
    // the emoticon table; the game sounds. Runs only while the card list is empty.
    void initAfterLogin();
    // 52 entries after initAfterLogin (nullptr for a picture that is missing).
    std::vector<platform::ui::ImagePtr> listAllCards() const;
    std::vector<platform::ui::ImagePtr> arrayImgCRTimer() const;
    // Emoticon code -> picture file name, in the file's order (it decides overlapping codes).
    platform::Value xDictEmotion() const;

    // The system sound id of a game sound (0 before initAfterLogin or for a missing file).
    platform::SoundId soundId(GameSound sound) const;
    platform::SoundId ct_eat_soundID() const { return soundId(GameSound::CtEat); }
    platform::SoundId ct_win_soundID() const { return soundId(GameSound::CtWin); }
    platform::SoundId ct_move_soundID() const { return soundId(GameSound::CtMove); }
    platform::SoundId ct_click_soundID() const { return soundId(GameSound::CtClick); }
    platform::SoundId ct_chieu_soundID() const { return soundId(GameSound::CtChieu); }
    platform::SoundId com_player_join_board() const { return soundId(GameSound::PlayerJoinBoard); }
    platform::SoundId com_player_leave_board() const { return soundId(GameSound::PlayerLeaveBoard); }
    platform::SoundId com_ready() const { return soundId(GameSound::Ready); }
    platform::SoundId com_trung_tien() const { return soundId(GameSound::TrungTien); }
    platform::SoundId bai_chia_bai() const { return soundId(GameSound::ChiaBai); }
    platform::SoundId bai_lat_bai() const { return soundId(GameSound::LatBai); }
    platform::SoundId bai_xao_bai() const { return soundId(GameSound::XaoBai); }
    platform::SoundId com_no_ready() const { return soundId(GameSound::NoReady); }
    platform::SoundId com_dat_tien() const { return soundId(GameSound::DatTien); }
    platform::SoundId com_onebeep() const { return soundId(GameSound::OneBeep); }
    platform::SoundId t_bingo_soundID() const { return soundId(GameSound::TBingo); }
    platform::SoundId t_drop_soundID() const { return soundId(GameSound::TDrop); }
    platform::SoundId t_rotate_soundID() const { return soundId(GameSound::TRotate); }
    // Never loaded.
    platform::SoundId music_bg_kavo() const { return 0; }

    // ---- Pictures the server sends (avatars and items share one id space)
    //
    // A picture that arrives is kept in the user defaults under its id ("%d") and
    // stays there across runs. Only real pictures are stored: while one is awaited
    // its views show "av0.png", and which ids were asked for and which views wait
    // live in memory. A view waits for the id it was last given; the waiting list
    // does not keep it alive.

    // How the cache asks the server for a picture (the request builders live above
    // this library). Set once at start-up; unset requests are only logged.
    struct PictureRequests {
        std::function<void(int16_t avatarId)> requestAvatar;         // command 38
        std::function<void(int32_t pictureId)> requestFullItemImage; // command 79, sub 4
    };
    void setPictureRequests(PictureRequests requests);

    // A picture asked for and not stored within this many seconds may be asked for
    // again by the next lookup of it.
    static constexpr double kPictureRequestRetry = 10.0;

    // The stored avatar picture; nullptr after asking the server for it (once per
    // kPictureRequestRetry).
    platform::ui::ImagePtr getAvatarWithKey(int32_t avatarId);
    // Shows the stored picture of `pictureId` in `view` (on the main thread). When it
    // is not stored, shows "av0.png", asks the server and fills the view when the
    // picture arrives, unless the view has been given another id by then.
    void assignAvatarId(int32_t pictureId, const std::shared_ptr<platform::ui::ImageView>& view);
    // The stored picture, or "av0.png" after asking the server (once).
    platform::ui::ImagePtr getImageFromAvatarID(int32_t pictureId);
    // An avatar arrived: fills its waiting views (not stored).
    void setAvatarWithImage(const platform::ui::ImagePtr& image, int32_t pictureId);
    // A full picture arrived: stores it and fills its waiting views. Data that is
    // not a picture is logged and dropped.
    void setAssetWithImage(const platform::Bytes& data, int32_t pictureId);
    // An item picture arrived: stores it; no view waits for it.
    void setItemWithImage(const platform::Bytes& data, int32_t pictureId);
    // The stored picture, or nullptr after asking the server (once per kPictureRequestRetry).
    platform::ui::ImagePtr getItemImageWithKey(int32_t itemId);
    platform::ui::ImagePtr getAssetWithKey(int32_t itemId) { return getItemImageWithKey(itemId); }
    // The stored picture or nullptr; never asks.
    platform::ui::ImagePtr getExistedImageWithKey(int32_t pictureId) const;
    // A new connection: what an earlier one was asked gets no answer on it (it ended, or it
    // was another server's), so every picture may be asked for again at once.
    void forgetPictureRequests();
    // The id a view waits for, if it waits (for tests and tree dumps).
    std::optional<int32_t> waitingIdOfView(const std::shared_ptr<platform::ui::ImageView>& view) const;

    // ---- Page caches of gift and shop lists (values as the server gave them)
    // The first list stored under (category, page) wins.
    void setItemsOfGift(platform::Value list, int32_t giftCategoryId, int32_t page);
    platform::Value getItemsOfGift(int32_t giftCategoryId, int32_t page) const;
    // A shop page of a category for a gender, replacing what was kept.
    void setItemsOfCategory(ItemInfoList list, int32_t categoryId, int32_t gender, int32_t page);
    ItemInfoList getItemsOfCategory(int32_t categoryId, int32_t gender, int32_t page) const;
    // An item of the category was bought: the first kept copy of it not yet marked
    // bought, on any gender's or page's list, is marked. False when none was found.
    // Main thread (the items are the ones the shop shows).
    bool updateItemsOfCategory(int32_t categoryId, int32_t itemId);

    // ---- Other shared values
    std::string currentPurchaseName() const;
    void setCurrentPurchaseName(const std::string& name);
    platform::ui::ImagePtr imgFont() const;
    void setImgFont(platform::ui::ImagePtr image);

    // The signed-in player's friends, set on the main thread by the friend-list reply.
    std::vector<std::shared_ptr<Player>> listMyFriends() const;
    void setListMyFriends(std::vector<std::shared_ptr<Player>> friends);
    // Whether some friend has this database id.
    bool playerIsFriend(int32_t iddb) const;
    // The report categories the server sent.
    std::vector<std::string> listReportCategory() const;
    void setListReportCategory(std::vector<std::string> categories);

    // Sets a button's title for the normal state.
    static void assignTitle(const std::string& title, const std::shared_ptr<platform::ui::Button>& button);

private:
    // The views waiting for pictures, kept apart so a closure on the main thread can
    // hold them beyond the life of a Resources made by a test.
    struct PictureState;

    static platform::ui::ImagePtr storedPicture(int32_t pictureId);
    static void storePicture(const platform::Bytes& data, int32_t pictureId);
    static platform::ui::ImagePtr placeholderPicture();
    void requestFullItemImageOnce(int32_t pictureId);
    // True when the picture was never asked for, or asked for kPictureRequestRetry or
    // more seconds ago (the time is then renewed). The picture lock is held.
    static bool mayAskAgain(std::map<int32_t, double>& requested, int32_t pictureId);
    void fillWaitingViews(const platform::ui::ImagePtr& image, int32_t pictureId);
    void showOnMainThread(const std::shared_ptr<platform::ui::ImageView>& view, platform::ui::ImagePtr image,
                          int32_t pictureId);

    platform::Value kavoConfig_;

    mutable std::mutex languageMutex_;
    std::string currentLanguage_;
    std::shared_ptr<const LanguageTable> kavoLanguage_;

    mutable std::mutex tablesMutex_;
    std::vector<platform::ui::ImagePtr> listAllCards_;
    std::vector<platform::ui::ImagePtr> arrayImgCRTimer_;
    platform::Value xDictEmotion_;
    std::vector<platform::SoundId> soundIds_;
    std::map<std::string, platform::Value> itemsOfGift_;
    std::map<std::string, ItemInfoList> itemsOfCategory_;
    std::vector<std::shared_ptr<Player>> listMyFriends_;
    std::vector<std::string> listReportCategory_;
    std::string currentPurchaseName_;
    platform::ui::ImagePtr imgFont_;

    std::shared_ptr<PictureState> pictures_;
};

} // namespace kavo
