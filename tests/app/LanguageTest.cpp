#include "app/Resources.h"
#include "platform/foundation/UserDefaults.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/SourceDir.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <regex>
#include <set>
#include <thread>
#include <tuple>

namespace kavo {
namespace {

using test::AppEnvironment;

void storeLanguage(const std::string& code) {
    platform::UserDefaults::standard().setString(code, "language");
    platform::UserDefaults::standard().synchronize();
}

// What a run stores as its language (nothing on a first run) and what it speaks.
TEST(LanguageChoice, AFirstRunSpeaksVietnameseAndAnyStoredCodeEnglish) {
    const std::tuple<std::optional<std::string>, const char*, const char*> runs[] = {
        {std::nullopt, "vi", "Đăng nhập"}, {"en", "en", "Sign in"},      {"fr", "en", "Sign in"}, {"", "en", "Sign in"},
        {"VI", "en", "Sign in"},           {"english", "en", "Sign in"},
    };
    for (const auto& [stored, language, signIn] : runs) {
        SCOPED_TRACE(stored.value_or("nothing stored"));
        AppEnvironment env;
        if (stored) storeLanguage(*stored);
        Resources resources;
        EXPECT_EQ(resources.currentLanguage(), language);
        resources.loadLanguage();
        EXPECT_EQ(resources.getNameWithKey("KAVO_login"), signIn);
    }
}

TEST(LanguageLookup, NothingIsShownBeforeTheFirstLoad) {
    AppEnvironment env;
    Resources resources;
    EXPECT_EQ(resources.kavoLanguage(), nullptr);
    EXPECT_EQ(resources.getNameWithKey("KAVO_Kavo"), std::nullopt);
    EXPECT_EQ(resources.textWithKey("KAVO_Kavo"), "");
}

TEST(LanguageLookup, AMissingKeyGivesNothingNotTheKeyNorTheOtherLanguage) {
    AppEnvironment env;
    Resources resources;
    resources.loadLanguage();
    EXPECT_EQ(resources.getNameWithKey("KAVO_noSuchKey"), std::nullopt);
    EXPECT_EQ(resources.textWithKey("KAVO_noSuchKey"), "");
    EXPECT_EQ(resources.getNameWithKey("KAVO_LOGIN_USERNAME"), std::nullopt) << "a user-default name is not a text";
}

TEST(LanguageLookup, ASwitchShowsEnglishOnlyAfterTheNextLoad) {
    AppEnvironment env;
    Resources resources;
    resources.loadLanguage();
    ASSERT_EQ(resources.getNameWithKey("KAVO_cancel"), "Hủy");

    resources.setCurrentLanguage("en");
    EXPECT_EQ(resources.getNameWithKey("KAVO_cancel"), "Hủy") << "the table follows only at the next load";
    resources.loadLanguage();
    EXPECT_EQ(resources.getNameWithKey("KAVO_cancel"), "Cancel");
}

TEST(LanguageLookup, ResetDoesNothingUntilACodeIsSetThenReloads) {
    AppEnvironment env;
    Resources resources;
    resources.setCurrentLanguage("");
    resources.resetLanguage();
    EXPECT_EQ(resources.kavoLanguage(), nullptr);
    resources.setCurrentLanguage("en");
    resources.resetLanguage();
    EXPECT_EQ(resources.getNameWithKey("KAVO_yes"), "Yes");
}

TEST(LanguageLookup, AMissingLanguageFileLeavesEveryLabelEmpty) {
    test::TempFolder bundle;
    bundle.write("vi.plist", "<plist version=\"1.0\"><dict><key>KAVO_yes</key><string>Có</string></dict></plist>");
    AppEnvironment env(bundle.path());
    storeLanguage("en");
    Resources resources;
    resources.loadLanguage();
    EXPECT_EQ(resources.kavoLanguage(), nullptr);
    EXPECT_EQ(resources.getNameWithKey("KAVO_yes"), std::nullopt);
}

TEST(LanguageLookup, TheFirstMoverTextKeepsItsLeadingBlankForTheNameInFront) {
    AppEnvironment env;
    Resources resources;
    resources.loadLanguage();
    EXPECT_EQ("An" + resources.textWithKey("KAVO_firstFire"), "An đi trước");
}

// The reply handlers look texts up on the reader thread while the log-in screen's
// language toggle reloads the table on the main thread.
TEST(LanguageLookup, AReaderThreadAlwaysSeesAWholeTable) {
    AppEnvironment env;
    Resources resources;
    resources.loadLanguage();
    std::atomic<bool> done{false};
    std::atomic<int> badReads{0};
    std::thread reader([&] {
        while (!done) {
            auto text = resources.getNameWithKey("KAVO_yes");
            if (!text || (*text != "Có" && *text != "Yes")) ++badReads;
        }
    });
    for (int i = 0; i < 40; ++i) {
        resources.setCurrentLanguage(i % 2 ? "vi" : "en");
        resources.loadLanguage();
    }
    done = true;
    reader.join();
    EXPECT_EQ(badReads, 0);
}

// ---- The shipped language tables

std::vector<std::string> textKeys() {
    std::ifstream in(test::sourceDir() + "/tests/app/text_keys.txt");
    std::vector<std::string> keys;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') keys.push_back(line);
    return keys;
}

// The placeholders of a text, in order ("%@", "%d", "%lld"...).
std::vector<std::string> placeholders(const std::string& text) {
    static const std::regex placeholder("%(@|l{0,2}d|%)");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), placeholder); it != std::sregex_iterator(); ++it)
        found.push_back(it->str());
    return found;
}

TEST(ShippedLanguageTables, EveryTextTheClientLooksUpExistsInBothLanguages) {
    AppEnvironment env;
    std::vector<std::string> keys = textKeys();
    // At least the keys the list held when it began: later texts are added at the end.
    ASSERT_GE(keys.size(), 396u);
    Resources resources;
    resources.setCurrentLanguage("vi");
    resources.loadLanguage();
    auto vi = resources.kavoLanguage();
    resources.setCurrentLanguage("en");
    resources.loadLanguage();
    auto en = resources.kavoLanguage();
    ASSERT_TRUE(vi && en);
    for (const std::string& key : keys) {
        ASSERT_TRUE(vi->count(key) && !vi->at(key).empty()) << key << " has no Vietnamese text";
        ASSERT_TRUE(en->count(key) && !en->at(key).empty()) << key << " has no English text";
        EXPECT_EQ(placeholders(vi->at(key)), placeholders(en->at(key))) << key << ": the two texts take other values";
    }
}

TEST(ShippedLanguageTables, TheFormatsTakeTheValuesTheirCallersGive) {
    AppEnvironment env;
    Resources resources;
    resources.loadLanguage();
    const std::map<std::string, std::vector<std::string>> formats{
        {"KAVO_BuyGiftForFriendQuestion", {"%@"}}, {"KAVO_MakeFriendQuestion", {"%@"}},
        {"KAVO_cannotOpenPage", {"%@"}},           {"KAVO_confirmBuyAvatar", {"%@"}},
        {"KAVO_confirmBuyItem", {"%@"}},           {"KAVO_noEnoughBuyAvatar", {"%@"}},
        {"KAVO_noEnoughBuyItem", {"%@"}},          {"KAVO_NapZel_SMSDescription", {"%@", "%@", "%@"}},
        {"KAVO_syntaxSMS1", {"%@", "%@"}},         {"KAVO_gameNotInThisVersion", {"%@"}},
    };
    for (const auto& [key, expected] : formats)
        EXPECT_EQ(placeholders(resources.textWithKey(key)), expected) << key;
    // Every other text is shown as it is: a stray placeholder would show up raw.
    for (const auto& [key, text] : *resources.kavoLanguage()) {
        if (!formats.count(key)) {
            EXPECT_TRUE(placeholders(text).empty()) << key;
        }
    }
}

} // namespace
} // namespace kavo
