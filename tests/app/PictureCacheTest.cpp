#include "app/Resources.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "tests/app/AppTestSupport.h"

#include <cmath>
#include <gtest/gtest.h>
#include <thread>

namespace kavo {
namespace {

namespace ui = platform::ui;
using test::AppEnvironment;

// A picture as the server sends it: PNG bytes of one colour.
platform::Bytes pictureData(ui::Color color) {
    return ui::Image::filled(4, 4, color)->pngData();
}

bool shows(const std::shared_ptr<ui::ImageView>& view, ui::Color color) {
    if (!view->image() || view->image()->width() != 4) return false;
    ui::Color shown = view->image()->pixel(0, 0);
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    return near(shown.r, color.r) && near(shown.g, color.g) && near(shown.b, color.b);
}

bool showsPlaceholder(const std::shared_ptr<ui::ImageView>& view) {
    return view->image() && view->image()->name() == "av0.png";
}

class PictureCache : public ::testing::Test {
protected:
    PictureCache() {
        resources_.setPictureRequests({
            [this](int16_t id) { avatarRequests_.push_back(id); },
            [this](int32_t id) { pictureRequests_.push_back(id); },
        });
    }
    void runMainLoop() { platform::RunLoop::main().runPending(); }

    AppEnvironment env_;
    Resources resources_;
    std::vector<int16_t> avatarRequests_;
    std::vector<int32_t> pictureRequests_;
};

TEST_F(PictureCache, AStoredPictureIsShownAtOnceWithoutAsking) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setData(pictureData(ui::Color::red()), "42");
    auto view = ui::ImageView::make();
    resources_.assignAvatarId(42, view);
    runMainLoop();
    EXPECT_TRUE(shows(view, ui::Color::red()));
    EXPECT_TRUE(pictureRequests_.empty());
    EXPECT_EQ(resources_.waitingIdOfView(view), std::nullopt);
}

TEST_F(PictureCache, AMissingPictureShowsThePlaceholderAsksOnceAndFillsEveryWaitingView) {
    auto seat = ui::ImageView::make();
    auto profile = ui::ImageView::make();
    resources_.assignAvatarId(7, seat);
    resources_.assignAvatarId(7, profile);
    runMainLoop();
    EXPECT_TRUE(showsPlaceholder(seat));
    EXPECT_TRUE(showsPlaceholder(profile));
    EXPECT_EQ(pictureRequests_, std::vector<int32_t>{7});

    resources_.setAssetWithImage(pictureData(ui::Color::blue()), 7);
    runMainLoop();
    EXPECT_TRUE(shows(seat, ui::Color::blue()));
    EXPECT_TRUE(shows(profile, ui::Color::blue()));
    EXPECT_EQ(resources_.waitingIdOfView(seat), std::nullopt);
}

TEST_F(PictureCache, ThePlaceholderIsNeverStoredUnderAPictureId) {
    resources_.assignAvatarId(9, ui::ImageView::make());
    resources_.getImageFromAvatarID(10);
    runMainLoop();
    auto& defaults = platform::UserDefaults::standard();
    EXPECT_TRUE(defaults.objectForKey("9").isNull());
    EXPECT_TRUE(defaults.objectForKey("10").isNull());

    // So a later run asks again, and the real picture is kept when it comes.
    resources_.setAssetWithImage(pictureData(ui::Color::green()), 9);
    defaults.reset();
    EXPECT_NE(resources_.getExistedImageWithKey(9), nullptr);
}

TEST_F(PictureCache, AViewThatClosedBeforeThePictureCameIsLeftAlone) {
    auto kept = ui::ImageView::make();
    {
        auto closed = ui::ImageView::make();
        resources_.assignAvatarId(5, closed);
        resources_.assignAvatarId(5, kept);
    }
    runMainLoop();
    resources_.setAssetWithImage(pictureData(ui::Color::red()), 5);
    runMainLoop();
    EXPECT_TRUE(shows(kept, ui::Color::red()));
}

TEST_F(PictureCache, AViewGivenAnotherIdSinceKeepsItsNewPicture) {
    platform::UserDefaults::standard().setData(pictureData(ui::Color::green()), "2");
    auto view = ui::ImageView::make();
    resources_.assignAvatarId(1, view); // missing: waits for 1
    resources_.assignAvatarId(2, view); // the seat now shows player 2
    runMainLoop();
    ASSERT_TRUE(shows(view, ui::Color::green()));

    resources_.setAssetWithImage(pictureData(ui::Color::red()), 1);
    runMainLoop();
    EXPECT_TRUE(shows(view, ui::Color::green()));
}

TEST_F(PictureCache, AViewRetargetedWhileThePictureIsOnItsWayKeepsItsNewPicture) {
    auto view = ui::ImageView::make();
    resources_.assignAvatarId(1, view);
    runMainLoop();
    // The picture arrives on the reader thread; before the main thread fills the
    // view, the screen gives the view another player.
    std::thread reader([this] { resources_.setAssetWithImage(pictureData(ui::Color::red()), 1); });
    reader.join();
    platform::UserDefaults::standard().setData(pictureData(ui::Color::blue()), "3");
    resources_.assignAvatarId(3, view);
    runMainLoop();
    EXPECT_TRUE(shows(view, ui::Color::blue()));
}

TEST_F(PictureCache, AnAvatarReplyFillsTheWaitingViewsWithoutStoringIt) {
    auto view = ui::ImageView::make();
    resources_.assignAvatarId(11, view);
    resources_.setAvatarWithImage(ui::Image::filled(4, 4, ui::Color::red()), 11);
    runMainLoop();
    EXPECT_TRUE(shows(view, ui::Color::red()));
    EXPECT_EQ(resources_.getExistedImageWithKey(11), nullptr);
}

TEST_F(PictureCache, DataThatIsNoPictureIsDroppedAndTheViewKeepsWaiting) {
    auto view = ui::ImageView::make();
    resources_.assignAvatarId(12, view);
    resources_.setAssetWithImage({1, 2, 3, 4}, 12);
    resources_.setItemWithImage({}, 13);
    runMainLoop();
    EXPECT_TRUE(showsPlaceholder(view));
    EXPECT_EQ(resources_.waitingIdOfView(view), 12);
    EXPECT_TRUE(platform::UserDefaults::standard().objectForKey("12").isNull());
    EXPECT_TRUE(platform::UserDefaults::standard().objectForKey("13").isNull());
}

TEST_F(PictureCache, AnItemPictureIsAskedForOnceWhileItsAnswerMayStillCome) {
    platform::ScopedManualClock clock;
    EXPECT_EQ(resources_.getItemImageWithKey(30), nullptr);
    clock.clock().set(clock.clock().now() + 9.9);
    EXPECT_EQ(resources_.getItemImageWithKey(30), nullptr);
    EXPECT_EQ(pictureRequests_, std::vector<int32_t>{30});
    // Ten seconds without the picture: the next lookup asks again, then waits again.
    clock.clock().set(clock.clock().now() + 0.1);
    EXPECT_EQ(resources_.getItemImageWithKey(30), nullptr);
    EXPECT_EQ(resources_.getItemImageWithKey(30), nullptr);
    EXPECT_EQ(pictureRequests_, (std::vector<int32_t>{30, 30}));
    resources_.setItemWithImage(pictureData(ui::Color::red()), 30);
    EXPECT_NE(resources_.getItemImageWithKey(30), nullptr);
    EXPECT_EQ(resources_.getExistedImageWithKey(31), nullptr);
    EXPECT_EQ(pictureRequests_, (std::vector<int32_t>{30, 30})) << "getExistedImageWithKey never asks";
}

TEST_F(PictureCache, AMissingAvatarIsAskedForByItsShortIdAgainAfterTenSeconds) {
    platform::ScopedManualClock clock;
    EXPECT_EQ(resources_.getAvatarWithKey(300), nullptr);
    EXPECT_EQ(resources_.getAvatarWithKey(300), nullptr);
    EXPECT_EQ(avatarRequests_, std::vector<int16_t>{300});
    EXPECT_EQ(resources_.getImageFromAvatarID(301)->name(), "av0.png");
    clock.clock().set(clock.clock().now() + 10);
    EXPECT_EQ(resources_.getAvatarWithKey(300), nullptr);
    EXPECT_EQ(avatarRequests_, (std::vector<int16_t>{300, 300}));
}

TEST_F(PictureCache, AnAvatarAskedForNeverWithholdsTheItemPictureOfTheSameNumber) {
    EXPECT_EQ(resources_.getAvatarWithKey(44), nullptr);
    EXPECT_EQ(resources_.getItemImageWithKey(44), nullptr);
    EXPECT_EQ(avatarRequests_, std::vector<int16_t>{44});
    EXPECT_EQ(pictureRequests_, std::vector<int32_t>{44});
}

TEST(PageCaches, TheFirstGiftListOfAPageWinsAndShopListsAreReplaced) {
    AppEnvironment env;
    Resources resources;
    resources.setItemsOfGift(platform::Value(platform::Value::Array{1, 2}), 4, 0);
    resources.setItemsOfGift(platform::Value(platform::Value::Array{3}), 4, 0);
    EXPECT_EQ(resources.getItemsOfGift(4, 0).size(), 2u);
    EXPECT_TRUE(resources.getItemsOfGift(4, 1).isNull());

    resources.setItemsOfCategory({std::make_shared<ItemInfo>()}, 2, 1, 0);
    resources.setItemsOfCategory(ItemInfoList(3, std::make_shared<ItemInfo>()), 2, 1, 0);
    EXPECT_EQ(resources.getItemsOfCategory(2, 1, 0).size(), 3u);
    EXPECT_TRUE(resources.getItemsOfCategory(2, 0, 0).empty());
}

std::shared_ptr<ItemInfo> shopItem(int32_t id, bool bought) {
    auto item = std::make_shared<ItemInfo>();
    item->setItemId(id);
    item->setIs_bought(bought ? 1 : 0);
    return item;
}

TEST(PageCaches, ABoughtItemIsMarkedOnTheFirstPageOfItsCategoryThatHasItUnbought) {
    AppEnvironment env;
    Resources resources;
    auto otherCategory = shopItem(8, false);
    auto alreadyBought = shopItem(8, true);
    auto onFirstPage = shopItem(8, false);
    auto onLaterPage = shopItem(8, false);
    resources.setItemsOfCategory({otherCategory}, 12, 0, 0); // "12_..." is not category 1
    resources.setItemsOfCategory({shopItem(7, false), alreadyBought, onFirstPage}, 1, 0, 0);
    resources.setItemsOfCategory({onLaterPage}, 1, 1, 2);

    EXPECT_TRUE(resources.updateItemsOfCategory(1, 8));
    EXPECT_EQ(onFirstPage->is_bought(), 1);
    EXPECT_EQ(onLaterPage->is_bought(), 0);
    EXPECT_EQ(otherCategory->is_bought(), 0);

    EXPECT_TRUE(resources.updateItemsOfCategory(1, 8));
    EXPECT_EQ(onLaterPage->is_bought(), 1);
    EXPECT_FALSE(resources.updateItemsOfCategory(1, 8));
    EXPECT_FALSE(resources.updateItemsOfCategory(3, 8));
}

TEST(Friends, APlayerIsAFriendWhenSomeFriendHasHisDatabaseId) {
    AppEnvironment env;
    Resources resources;
    auto friendRecord = std::make_shared<Player>();
    friendRecord->setIDDB(77);
    resources.setListMyFriends({friendRecord, nullptr});
    EXPECT_TRUE(resources.playerIsFriend(77));
    EXPECT_FALSE(resources.playerIsFriend(78));
}

} // namespace
} // namespace kavo
