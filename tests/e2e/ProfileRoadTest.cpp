// The own profile road: from the game grid to the four tabs, editing the gender and the
// birthday, the achievements, wearing another avatar and sending money, against the test
// portal on the manual clock.
#include "account/ProfileView.h"
#include "account/Profile_UserDataView.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "lobby/GameView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Screen.h"
#include "tests/e2e/AccountRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/DesktopClick.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <vector>

namespace kavo::test {
namespace {

// What the profile fields of a 1002 say: gender, year, month, day.
struct Saved {
    int gender;
    int year;
    int month;
    int day;
};

Saved savedProfile(const std::vector<uint8_t>& body) {
    Message request(1002, body);
    request.readUTF();
    Saved saved{};
    saved.gender = request.readByte();
    saved.year = request.readShort();
    for (int i = 0; i < 3; ++i)
        request.readUTF();
    request.readByte();
    saved.month = request.readByte();
    saved.day = request.readByte();
    return saved;
}

// A reply that tells the client the player's money, and the money it leaves him with.
struct BalanceReply {
    const char* what;
    Message reply;
    int64_t money;
};

// In turn from 187,500 or from the sign-in's 125,000 alike: the first two set the money.
std::vector<BalanceReply> balanceReplies() {
    return {{"card top-up (71)", Bytes().byte(2).byte(1).utf("Nạp thẻ thành công").utf("").int64(200000).message(71),
             200000},
            {"money set (17)", Bytes().int64(190000).utf("Số dư mới").message(17), 190000},
            {"item bought (101 sub 6)", Bytes().byte(6).byte(0).int32(3000).message(101), 187000},
            {"gift opened (101 sub 17)", Bytes().byte(17).byte(0).utf("Quà").int32(500).message(101), 187500}};
}

// Avatars that only the test below wears, so that no other test asked for their pictures.
constexpr int32_t kChosen = 7301;
constexpr int32_t kNamed = 7309;

// The portal answers each avatar picture asked (79, sub 4) with a PNG of the avatar's own
// colour.
void answerAvatarPictures(TestPortal& portal) {
    std::map<int32_t, ByteVector> pictures;
    const std::pair<int32_t, platform::ui::Color> colours[] = {{kChosen, platform::ui::Color::green()},
                                                               {kNamed, platform::ui::Color::blue()}};
    for (const auto& [id, colour] : colours)
        pictures[id] = platform::ui::Image::filled(4, 4, colour)->pngData();
    const ByteVector other = platform::ui::Image::filled(4, 4, platform::ui::Color::white())->pngData();
    portal.onCommand(79, [pictures, other](Message& request, TestPortal::Reply& reply) {
        if (request.readByte() != 4) return;
        const int32_t id = request.readInt();
        const auto found = pictures.find(id);
        const ByteVector& png = found == pictures.end() ? other : found->second;
        reply.send(79, Bytes().byte(4).int32(id).int16(int16_t(png.size())).raw(png));
    });
}

// Whether the view shows the picture the client holds for `pictureId`.
bool showsPicture(const platform::ui::ImageView* view, int32_t pictureId) {
    const auto held = Resources::getInstance().getExistedImageWithKey(pictureId);
    const auto shown = view ? view->image() : nullptr;
    return held && shown && shown->pixelData() == held->pixelData();
}

class ProfileRoad : public AccountRoad {
protected:
    void SetUp() override {
        AccountRoad::SetUp();
        answerOwnRecord(portal());
        portal().onCommand(1002, [](Message&, TestPortal::Reply& reply) { reply.send(Message(41)); });
        portal().onCommand(40, [](Message& request, TestPortal::Reply& reply) {
            request.readByte();
            const int8_t game = request.readByte();
            Bytes row;
            row.byte(3).byte(game).int32(700 + game);
            for (int i = 0; i < 4; ++i)
                row.int32(i);
            reply.send(40, row);
        });
        portal().onCommand(1010, [](Message&, TestPortal::Reply& reply) {
            Bytes avatars;
            avatars.int32(2);
            for (const auto& [id, name] : {std::pair<int32_t, const char*>{1, "Mèo"}, {4, "Cáo"}}) {
                avatars.int32(0).int32(id).utf(name).utf("30 ngày");
            }
            reply.send(1010, avatars);
        });
        portal().onCommand(1008, [](Message& request, TestPortal::Reply& reply) {
            reply.send(1008, Bytes().int32(request.readInt()));
        });
        portal().onCommand(2703, [](Message& request, TestPortal::Reply& reply) {
            if (request.readInt() != 2) return;
            reply.send(2703, Bytes().int32(2).utf("10:00 01/12").utf("+5.000 Zel"));
        });
        portal().onCommand(17, [](Message& request, TestPortal::Reply& reply) {
            const std::string to = request.readUTF();
            const int32_t amount = request.readInt();
            reply.send(17, Bytes().int64(ClientWorld::kPlayerMoney - amount).utf("Đã chuyển cho " + to));
        });
    }
    void openProfile() { road("tap id=doShowProfileView\nscreen ProfileView\nadvance 0.5\nwait text=khach42"); }
    // Each balance reply in turn: `shown` reads the money as the player sees it then.
    void expectEachBalanceShown(const std::function<std::string()>& shown, const std::string& suffix) {
        for (const auto& [what, reply, money] : balanceReplies()) {
            ASSERT_TRUE(portal().sendToClient(reply));
            ASSERT_TRUE(
                platform::RunLoop::main().runUntil([&] { return UIController::myInfo()->money() == money; }, 30))
                << what;
            EXPECT_EQ(shown(), Util::formatNumber(money) + suffix) << what;
            // Each reply says something too; the next one comes with the notice answered.
            ASSERT_TRUE(
                platform::RunLoop::main().runUntil([] { return UIController::currentDialog() != nullptr; }, 30));
            UIController::closeDialog();
        }
    }
};

TEST_F(ProfileRoad, EveryBalanceLearntShowsAtOnceOnTheGridAndTheProfileUnderAPanel) {
    signIn();
    road("tap id=btnNapZel\nwait id=ShopView");
    expectEachBalanceShown([] { return top<GameView>()->lblPlayerMoney()->text(); }, "");
    road("tap id=doCloseThisView");
    openProfile();
    road("tap id=doTopupZel\nwait id=TopupZelView");
    expectEachBalanceShown([] { return top<ProfileView>()->userDataView()->vTien()->text(); }, " Zel");

    // Won or spent while the profile was away: it shows it at once, and so does the record
    // it asks for again.
    clickAndType({6, 314}, ""); // beside the top-up panel: it closes
    road("advance 0.5\ntap id=btnBack\nscreen GameView 30\nadvance 0.5");
    ASSERT_TRUE(portal().sendToClient(Bytes().int64(150000).utf("").message(17)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::myInfo()->money() == 150000; }, 30));
    answerOwnRecord(portal(), {.money = 150000});
    openProfile();
    EXPECT_EQ(top<ProfileView>()->userDataView()->vTien()->text(), Util::formatNumber(150000) + " Zel");
    EXPECT_TRUE(waitForCount(1005, 2));
}

// Hands played between two showings of the profile move the level and the playing time,
// which only the record tells: each showing asks for it and shows what the server has now.
TEST_F(ProfileRoad, OpenedAgainTheProfileShowsTheLevelAndPlayingTimeTheServerHasNow) {
    signIn();
    answerOwnRecord(portal(), {.percent = 0, .playingTime = "0 giờ 0 phút"});
    openProfile();
    road("wait text=0 giờ 0 phút\nexpect text=0 %\ntap id=btnBack\nscreen GameView 30\nadvance 0.5");
    answerOwnRecord(portal(), {.percent = 2, .playingTime = "0 giờ 18 phút"});
    openProfile();
    road("wait text=0 giờ 18 phút\nexpect text=2 %");
    EXPECT_EQ(portal().messages(1005).size(), 2u);
}

TEST_F(ProfileRoad, ThePlayerChangesGenderAndBirthday) {
    signIn();
    openProfile();
    EXPECT_EQ(portal().messages(1005).size(), 1u);
    road("expect text=17/05/1990\nexpect text=" + text("KAVO_Man") +
         "\ntap id=btnRow_Clicked2\nadvance 0.1\ndrag id=pickerCity 0 -40\nadvance 0.5\ntap text=Xong\nadvance 0.1");
    ASSERT_TRUE(waitForCount(1002, 1));
    const Saved gender = savedProfile(portal().messages(1002)[0].body);
    EXPECT_EQ(gender.gender, 2) << "one row down from the man: the woman";
    EXPECT_EQ(gender.year, 1990);
    // The answer (41) to an edit without a new password says nothing about passwords.
    ASSERT_TRUE(exchangeSettled());
    road("advance 0.2\nexpect-not text=" + text("KAVO_changePassSuccess") + "\nexpect text=" + text("KAVO_Woman") +
         "\ntap id=btnRow_Clicked3\nadvance 0.1\n"
         "drag id=pickerDate 0 -40\nadvance 0.5\ntap text=Xong\nadvance 0.1");
    ASSERT_TRUE(waitForCount(1002, 2));
    const Saved birthday = savedProfile(portal().messages(1002)[1].body);
    EXPECT_EQ(birthday.gender, 2);
    EXPECT_EQ(birthday.month, 6);
    EXPECT_EQ(birthday.day, 17);
    road("expect text=17/06/1990");
}

// The profile asks for its record at every showing. Shown again, its fields take typing at
// once, and a slow server's record comes while the player types his full name: the record
// shows everything else, what he typed stays in the field he types in, and it is what goes
// into the record and to the server when he ends.
TEST_F(ProfileRoad, ARecordThatComesWhileThePlayerTypesInAFieldLeavesWhatHeTyped) {
    signIn();
    openProfile();
    road("tap id=btnBack\nscreen GameView 30\nadvance 0.5");
    portal().onCommand(1005, [](Message&, TestPortal::Reply&) {}); // answered below, later
    road("tap id=doShowProfileView\nscreen ProfileView\nadvance 0.5");
    ASSERT_TRUE(waitForCount(1005, 2));
    road("type id=txfHoTen Nguyễn Văn Mới");
    const auto field = top<ProfileView>()->userDataView()->txfHoTen();
    ASSERT_TRUE(field->isEditing());

    ASSERT_TRUE(portal().sendToClient(ownRecord(ClientWorld::kPlayerId, {.playingTime = "7 giờ 5 phút"})));
    ASSERT_TRUE(clientCaughtUp());
    road("expect text=7 giờ 5 phút");
    EXPECT_EQ(top<ProfileView>()->userDataView()->txfDiaChi()->text(), "1 Lê Lợi");
    EXPECT_EQ(field->text(), "Nguyễn Văn Mới") << "the record took what the player was typing";
    EXPECT_TRUE(field->isEditing());

    road("return id=txfHoTen");
    ASSERT_TRUE(waitForCount(1002, 1));
    Message saved(1002, portal().messages(1002)[0].body);
    EXPECT_EQ(saved.readUTF(), "Nguyễn Văn Mới");
    EXPECT_EQ(saved.readByte(), 1) << "the rest is the record's";
    EXPECT_EQ(saved.readShort(), 1990);
    EXPECT_EQ(saved.readUTF(), "1 Lê Lợi");
}

TEST_F(ProfileRoad, ThePlayerSeesAchievementsWearsAnotherAvatarAndSendsMoney) {
    signIn();
    openProfile();
    road("tap id=btnAchivements\nadvance 0.1\nwait text=703\nexpect text=" + text("KAVO_tienLen"));
    EXPECT_EQ(portal().messages(40).size(), 14u);

    road("tap id=btnItems\nadvance 0.1\nwait text=Cáo\ntap text=Cáo\nwait text=" + text("KAVO_Change_Avatar") +
         "\ntap text=" + text("KAVO_OK"));
    ASSERT_TRUE(waitForCount(1008, 1));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::myInfo()->avatar() == 4; }, 30));
    road("wait text=" + text("KAVO_Change_Avatar_Success") + "\ntap text=" + text("KAVO_OK"));

    road("tap id=showTransferZel\nadvance 0.5\ntype id=txtName binh\ntype id=txtMoney 15000\ntap id=btnOK\n"
         "advance 0.5\nwait text=Đã chuyển cho binh");
    Message sent(17, portal().messages(17).at(0).body);
    EXPECT_EQ(sent.readUTF(), "binh");
    EXPECT_EQ(sent.readInt(), 15000);
    EXPECT_EQ(UIController::myInfo()->money(), ClientWorld::kPlayerMoney - 15000);
    road("tap text=" + text("KAVO_OK") + "\ntap id=btnTransaction\nadvance 0.1\nwait text=+5.000 Zel");
}

// The server has the last word on the avatar worn: when its answer to a choice names another
// avatar, the profile shown again wears the one it named, not the one chosen.
TEST_F(ProfileRoad, ShownAgainTheProfileWearsTheAvatarTheServerNamedNotTheOneChosen) {
    answerAvatarPictures(portal());
    portal().onCommand(1010, [](Message&, TestPortal::Reply& reply) {
        reply.send(1010,
                   Bytes().int32(2).int32(0).int32(1).utf("Mèo").utf("").int32(0).int32(kChosen).utf("Sói").utf(""));
    });
    portal().onCommand(1008, [](Message&, TestPortal::Reply& reply) { reply.send(1008, Bytes().int32(kNamed)); });
    signIn();
    openProfile();
    const auto avatar = [] {
        const auto profile = top<ProfileView>();
        return profile && profile->userDataView() ? profile->userDataView()->imgViewAvatar().get() : nullptr;
    };
    // Each picture comes from the portal the first time it is worn.
    const auto comesToShow = [&](int32_t id) {
        return platform::RunLoop::main().runUntil([&] { return showsPicture(avatar(), id); }, kStateWait);
    };
    road("tap id=btnItems\nadvance 0.1\nwait text=Sói\ntap text=Sói\nwait text=" + text("KAVO_Change_Avatar") +
         "\ntap text=" + text("KAVO_OK"));
    ASSERT_TRUE(comesToShow(kChosen)) << "the chosen avatar shows at once";
    ASSERT_TRUE(waitForCount(1008, 1));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return UIController::myInfo()->avatar() == kNamed; }, 30));
    road("wait text=" + text("KAVO_Change_Avatar_Success") + "\ntap text=" + text("KAVO_OK"));

    road("tap id=btnBack\nscreen GameView 30\nadvance 0.5");
    openProfile();
    EXPECT_TRUE(comesToShow(kNamed)) << "the profile does not show the avatar the server named";
}

class ProfileScreens : public ProfileRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(ProfileScreens, EachTabAndTheTransferSheetArePhotographed) {
    const bool tablet = GetParam() == platform::ui::Idiom::Tablet;
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    openProfile();
    road("shot " + shotPath("profile-info", tablet) + "\ntap id=btnItems\nadvance 0.1\nwait text=Cáo\nshot " +
         shotPath("profile-items", tablet) + "\ntap id=btnAchivements\nadvance 0.1\nwait text=703\nshot " +
         shotPath("profile-achievements", tablet) +
         "\ntap id=btnTransaction\nadvance 0.1\nwait text=+5.000 Zel\nshot " +
         shotPath("profile-transactions", tablet) +
         "\ntap id=btnItems\nadvance 0.1\ntap id=showTransferZel\n"
         "advance 0.5\nshot " +
         shotPath("profile-transfer", tablet));
    EXPECT_TRUE(std::filesystem::exists(shotPath("profile-transfer", tablet)));
}

INSTANTIATE_TEST_SUITE_P(Idioms, ProfileScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
