#include "app/Resources.h"

#include "app/ResourceNames.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/SystemWords.h"

#include <algorithm>
#include <map>
#include <utility>

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr std::string_view kLanguageDefault = "language";

std::string pictureKey(int32_t pictureId) {
    return std::to_string(pictureId);
}

std::string pageKey(std::initializer_list<int32_t> parts) {
    std::string key;
    for (int32_t part : parts) {
        if (!key.empty()) key += '_';
        key += std::to_string(part);
    }
    return key;
}

// A language property list as a table of texts. Values that are not text are
// logged and left out: a label shows nothing rather than a number.
std::shared_ptr<const LanguageTable> readLanguageTable(const std::string& code) {
    platform::Value plist = platform::Bundle::main().loadPlist(code);
    if (!plist.isDictionary()) {
        platform::log("Resources: no language table \"" + code + ".plist\"");
        return nullptr;
    }
    auto table = std::make_shared<LanguageTable>();
    for (const auto& [key, value] : plist.dictValue()) {
        if (value.isString())
            table->emplace(key, value.stringValue());
        else
            platform::log("Resources: language key " + key + " is not a text");
    }
    return table;
}

// The platform draws a few words by itself (a switch's captions, the system bar items, a
// row's delete confirmation) and knows no language: it is handed the player's words.
void handPlatformWords(const LanguageTable* table) {
    using platform::ui::SystemWord;
    constexpr std::pair<SystemWord, const char*> kKeys[] = {
        {SystemWord::On, "KAVO_on"},         {SystemWord::Off, "KAVO_off"},       {SystemWord::Done, "KAVO_finished"},
        {SystemWord::Cancel, "KAVO_cancel"}, {SystemWord::Delete, "KAVO_delete"}, {SystemWord::Search, "KAVO_search"}};
    std::map<SystemWord, std::string> words;
    if (table)
        for (const auto& [word, key] : kKeys)
            if (const auto found = table->find(key); found != table->end()) words[word] = found->second;
    platform::ui::SystemWords::set(std::move(words));
}

} // namespace

struct Resources::PictureState {
    struct Assignment {
        int32_t pictureId = 0;
        bool waiting = false;
    };
    using ViewKey = std::weak_ptr<ui::ImageView>;

    std::mutex mutex;
    PictureRequests requests;
    // When each id was last asked for (clock time), avatars and items apart: an avatar
    // and an item of the same number are different pictures.
    std::map<int32_t, double> requestedAvatars;
    std::map<int32_t, double> requestedItems;
    // The id each living view was last given, and whether it still waits for it.
    std::map<ViewKey, Assignment, std::owner_less<ViewKey>> assignments;
};

Resources& Resources::getInstance() {
    static Resources instance;
    return instance;
}

Resources::Resources() : soundIds_(kGameSoundFiles.size(), 0), pictures_(std::make_shared<PictureState>()) {
    platform::log("Resources created");
    kavoConfig_ = platform::Bundle::main().loadPlist(kConfigName);
    if (kavoConfig_.isNull()) platform::log("Resources: no configuration \"" + std::string(kConfigName) + ".plist\"");
    resetLanguage(); // no code yet: loads nothing

    auto& defaults = platform::UserDefaults::standard();
    platform::Value stored = defaults.objectForKey(kLanguageDefault);
    std::string code = stored.isNull() ? "vi" : stored.stringValue();
    if (code != "en" && code != "vi") code = "en";
    {
        std::lock_guard lock(languageMutex_);
        currentLanguage_ = code;
    }
    defaults.synchronize();
}

// ---- Configuration

std::string Resources::configString(std::string_view key) const {
    return kavoConfig_[key].stringValue();
}
int Resources::configInt(std::string_view key) const {
    return kavoConfig_[key].intValue();
}
bool Resources::configBool(std::string_view key) const {
    return kavoConfig_[key].boolValue();
}

// ---- Language

std::optional<std::string> Resources::getNameWithKey(std::string_view key) const {
    std::shared_ptr<const LanguageTable> table = kavoLanguage();
    if (!table) return std::nullopt;
    auto found = table->find(std::string(key));
    if (found == table->end()) return std::nullopt;
    return found->second;
}

std::string Resources::textWithKey(std::string_view key) const {
    return getNameWithKey(key).value_or("");
}

std::string text(std::string_view key) {
    return Resources::getInstance().textWithKey(key);
}

void Resources::loadLanguage() {
    std::string code = currentLanguage();
    std::shared_ptr<const LanguageTable> table = readLanguageTable(code);
    handPlatformWords(table.get());
    std::lock_guard lock(languageMutex_);
    kavoLanguage_ = std::move(table);
}

void Resources::resetLanguage() {
    if (currentLanguage().empty()) return;
    loadLanguage();
}

void Resources::loadLanguageWithPath(const std::string& path) {
    (void)path;
    loadLanguage();
}

std::string Resources::currentLanguage() const {
    std::lock_guard lock(languageMutex_);
    return currentLanguage_;
}

void Resources::setCurrentLanguage(const std::string& code) {
    std::lock_guard lock(languageMutex_);
    currentLanguage_ = code;
}

std::shared_ptr<const LanguageTable> Resources::kavoLanguage() const {
    std::lock_guard lock(languageMutex_);
    return kavoLanguage_;
}

// ---- Shared pictures and sounds

void Resources::initAfterLogin() {
    {
        std::lock_guard lock(tablesMutex_);
        if (!listAllCards_.empty()) return;
    }
    std::vector<ui::ImagePtr> cards;
    cards.reserve(kCardPictureCount);
    for (const std::string& name : cardPictureNames())
        cards.push_back(ui::Image::named(name));
    std::vector<ui::ImagePtr> clock;
    for (const std::string& name : caroClockPictureNames())
        clock.push_back(ui::Image::named(name));
    platform::Value emoticons = platform::Bundle::main().loadPlist(kEmoticonTableName);

    std::vector<platform::SoundId> ids;
    for (const GameSoundFile& file : kGameSoundFiles) {
        std::string path =
            platform::Bundle::main().pathForResource(std::string(kSoundFolder) + "/" + std::string(file.fileName), "");
        if (path.empty()) platform::log("Resources: no sound " + std::string(file.fileName));
        ids.push_back(path.empty() ? 0 : platform::SystemSound::registerSound(path));
    }

    std::lock_guard lock(tablesMutex_);
    if (!listAllCards_.empty()) return; // another caller got here first
    listAllCards_ = std::move(cards);
    arrayImgCRTimer_ = std::move(clock);
    xDictEmotion_ = std::move(emoticons);
    soundIds_ = std::move(ids);
}

std::vector<ui::ImagePtr> Resources::listAllCards() const {
    std::lock_guard lock(tablesMutex_);
    return listAllCards_;
}

std::vector<ui::ImagePtr> Resources::arrayImgCRTimer() const {
    std::lock_guard lock(tablesMutex_);
    return arrayImgCRTimer_;
}

platform::Value Resources::xDictEmotion() const {
    std::lock_guard lock(tablesMutex_);
    return xDictEmotion_;
}

platform::SoundId Resources::soundId(GameSound sound) const {
    std::lock_guard lock(tablesMutex_);
    auto index = size_t(sound);
    return index < soundIds_.size() ? soundIds_[index] : 0;
}

// ---- Pictures the server sends

void Resources::setPictureRequests(PictureRequests requests) {
    std::lock_guard lock(pictures_->mutex);
    pictures_->requests = std::move(requests);
}

ui::ImagePtr Resources::storedPicture(int32_t pictureId) {
    platform::Bytes data = platform::UserDefaults::standard().dataForKey(pictureKey(pictureId));
    if (data.empty()) return nullptr;
    return ui::Image::fromData(data);
}

void Resources::storePicture(const platform::Bytes& data, int32_t pictureId) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(data, pictureKey(pictureId));
    defaults.synchronize();
}

ui::ImagePtr Resources::placeholderPicture() {
    return ui::Image::named(std::string(kPlaceholderAvatar));
}

ui::ImagePtr Resources::getAvatarWithKey(int32_t avatarId) {
    if (ui::ImagePtr picture = storedPicture(avatarId)) return picture;
    std::function<void(int16_t)> request;
    {
        std::lock_guard lock(pictures_->mutex);
        if (mayAskAgain(pictures_->requestedAvatars, avatarId)) request = pictures_->requests.requestAvatar;
    }
    // The request goes out without the lock: a test double may answer at once.
    if (request) request(int16_t(avatarId));
    return nullptr;
}

bool Resources::mayAskAgain(std::map<int32_t, double>& requested, int32_t pictureId) {
    const double now = platform::Clock::time();
    auto [entry, isNew] = requested.try_emplace(pictureId, now);
    if (isNew) return true;
    // A request or its answer may have been lost: after a while the picture is asked for again.
    if (now - entry->second < kPictureRequestRetry) return false;
    entry->second = now;
    return true;
}

void Resources::forgetPictureRequests() {
    std::lock_guard lock(pictures_->mutex);
    pictures_->requestedAvatars.clear();
    pictures_->requestedItems.clear();
}

void Resources::requestFullItemImageOnce(int32_t pictureId) {
    std::function<void(int32_t)> request;
    {
        std::lock_guard lock(pictures_->mutex);
        if (!mayAskAgain(pictures_->requestedItems, pictureId)) return;
        request = pictures_->requests.requestFullItemImage;
    }
    if (request)
        request(pictureId);
    else
        platform::log("Resources: no way to request picture " + pictureKey(pictureId));
}

void Resources::assignAvatarId(int32_t pictureId, const std::shared_ptr<ui::ImageView>& view) {
    if (!view) return;
    ui::ImagePtr picture = storedPicture(pictureId);
    {
        std::lock_guard lock(pictures_->mutex);
        auto& assignments = pictures_->assignments;
        std::erase_if(assignments, [](const auto& entry) { return entry.first.expired(); });
        assignments[PictureState::ViewKey(view)] = {pictureId, picture == nullptr};
    }
    if (!picture) {
        requestFullItemImageOnce(pictureId);
        picture = placeholderPicture();
    }
    showOnMainThread(view, std::move(picture), pictureId);
}

ui::ImagePtr Resources::getImageFromAvatarID(int32_t pictureId) {
    if (ui::ImagePtr picture = storedPicture(pictureId)) return picture;
    requestFullItemImageOnce(pictureId);
    return placeholderPicture();
}

void Resources::setAvatarWithImage(const ui::ImagePtr& image, int32_t pictureId) {
    if (!image) return;
    fillWaitingViews(image, pictureId);
}

void Resources::setAssetWithImage(const platform::Bytes& data, int32_t pictureId) {
    ui::ImagePtr image = ui::Image::fromData(data);
    if (!image) {
        platform::log("Resources: picture " + pictureKey(pictureId) + " is not an image; dropped");
        return;
    }
    storePicture(data, pictureId);
    fillWaitingViews(image, pictureId);
}

void Resources::setItemWithImage(const platform::Bytes& data, int32_t pictureId) {
    if (!ui::Image::fromData(data)) {
        platform::log("Resources: item picture " + pictureKey(pictureId) + " is not an image; dropped");
        return;
    }
    storePicture(data, pictureId);
}

ui::ImagePtr Resources::getItemImageWithKey(int32_t itemId) {
    if (ui::ImagePtr picture = storedPicture(itemId)) return picture;
    requestFullItemImageOnce(itemId);
    return nullptr;
}

ui::ImagePtr Resources::getExistedImageWithKey(int32_t pictureId) const {
    return storedPicture(pictureId);
}

std::optional<int32_t> Resources::waitingIdOfView(const std::shared_ptr<ui::ImageView>& view) const {
    std::lock_guard lock(pictures_->mutex);
    auto found = pictures_->assignments.find(PictureState::ViewKey(view));
    if (found == pictures_->assignments.end() || !found->second.waiting) return std::nullopt;
    return found->second.pictureId;
}

// Runs on whichever thread the picture arrived on; the views are filled on the main thread.
void Resources::fillWaitingViews(const ui::ImagePtr& image, int32_t pictureId) {
    std::vector<PictureState::ViewKey> waiting;
    {
        std::lock_guard lock(pictures_->mutex);
        for (auto& [view, assignment] : pictures_->assignments) {
            if (assignment.waiting && assignment.pictureId == pictureId) {
                assignment.waiting = false;
                waiting.push_back(view);
            }
        }
    }
    for (const PictureState::ViewKey& weak : waiting) {
        // Only views that still exist; showOnMainThread checks the id again when it runs.
        if (auto view = weak.lock()) showOnMainThread(view, image, pictureId);
    }
}

// Sets the picture on the main thread, unless by then the view was given another id.
// The closure holds the view weakly: a screen that closes in between lets it go.
void Resources::showOnMainThread(const std::shared_ptr<ui::ImageView>& view, ui::ImagePtr image, int32_t pictureId) {
    PictureState::ViewKey weak(view);
    platform::runOnMainThread([state = pictures_, weak, image = std::move(image), pictureId] {
        auto target = weak.lock();
        if (!target) return;
        {
            std::lock_guard lock(state->mutex);
            auto found = state->assignments.find(weak);
            if (found != state->assignments.end() && found->second.pictureId != pictureId) return;
        }
        target->setImage(image);
    });
}

// ---- Page caches

void Resources::setItemsOfGift(platform::Value list, int32_t giftCategoryId, int32_t page) {
    std::lock_guard lock(tablesMutex_);
    itemsOfGift_.try_emplace(pageKey({giftCategoryId, page}), std::move(list));
}

platform::Value Resources::getItemsOfGift(int32_t giftCategoryId, int32_t page) const {
    std::lock_guard lock(tablesMutex_);
    auto found = itemsOfGift_.find(pageKey({giftCategoryId, page}));
    return found == itemsOfGift_.end() ? platform::Value() : found->second;
}

void Resources::setItemsOfCategory(ItemInfoList list, int32_t categoryId, int32_t gender, int32_t page) {
    std::lock_guard lock(tablesMutex_);
    itemsOfCategory_[pageKey({categoryId, gender, page})] = std::move(list);
}

ItemInfoList Resources::getItemsOfCategory(int32_t categoryId, int32_t gender, int32_t page) const {
    std::lock_guard lock(tablesMutex_);
    auto found = itemsOfCategory_.find(pageKey({categoryId, gender, page}));
    return found == itemsOfCategory_.end() ? ItemInfoList() : found->second;
}

bool Resources::updateItemsOfCategory(int32_t categoryId, int32_t itemId) {
    std::lock_guard lock(tablesMutex_);
    // The pages are kept per gender and page; the item is looked for on every page of
    // the category, in key order, and the first copy not yet bought is marked.
    const std::string prefix = std::to_string(categoryId) + "_";
    for (auto& [key, items] : itemsOfCategory_) {
        if (key.compare(0, prefix.size(), prefix) != 0) continue;
        for (const auto& item : items) {
            if (item && item->itemId() == itemId && !item->is_bought()) {
                item->setIs_bought(1);
                return true;
            }
        }
    }
    return false;
}

// ---- Other shared values

std::vector<std::shared_ptr<Player>> Resources::listMyFriends() const {
    std::lock_guard lock(tablesMutex_);
    return listMyFriends_;
}

void Resources::setListMyFriends(std::vector<std::shared_ptr<Player>> friends) {
    std::lock_guard lock(tablesMutex_);
    listMyFriends_ = std::move(friends);
}

bool Resources::playerIsFriend(int32_t iddb) const {
    std::lock_guard lock(tablesMutex_);
    return std::any_of(listMyFriends_.begin(), listMyFriends_.end(),
                       [iddb](const std::shared_ptr<Player>& p) { return p && p->IDDB() == iddb; });
}

std::vector<std::string> Resources::listReportCategory() const {
    std::lock_guard lock(tablesMutex_);
    return listReportCategory_;
}

void Resources::setListReportCategory(std::vector<std::string> categories) {
    std::lock_guard lock(tablesMutex_);
    listReportCategory_ = std::move(categories);
}

std::string Resources::currentPurchaseName() const {
    std::lock_guard lock(tablesMutex_);
    return currentPurchaseName_;
}

void Resources::setCurrentPurchaseName(const std::string& name) {
    std::lock_guard lock(tablesMutex_);
    currentPurchaseName_ = name;
}

ui::ImagePtr Resources::imgFont() const {
    std::lock_guard lock(tablesMutex_);
    return imgFont_;
}

void Resources::setImgFont(ui::ImagePtr image) {
    std::lock_guard lock(tablesMutex_);
    imgFont_ = std::move(image);
}

void Resources::assignTitle(const std::string& title, const std::shared_ptr<ui::Button>& button) {
    if (button) button->setTitle(title, ui::ControlState::Normal);
}

} // namespace kavo
