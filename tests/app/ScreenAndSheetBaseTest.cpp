#include "account/ChangePassView.h"
#include "account/LottoSubView.h"
#include "account/ProfileSubView.h"
#include "account/SettingsView.h"
#include "account/TransferMoneyView.h"
#include "app/CustomUIActionSheetViewController.h"
#include "app/EscapeTarget.h"
#include "app/KavoViewController.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "lobby/GameView.h"
#include "lobby/IntoBoard.h"
#include "lobby/PasswordIntoBoard.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TextField.h"
#include "portal/model/KavoMessage.h"
#include "social/AddFriendView.h"
#include "social/SendAdminView.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/MauBinhResultView.h"
#include "table/sheets/PokerBuyStackView.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "tests/app/ShellTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::ui::Rect;

// A sheet with a 300 x 100 panel.
class PanelSheet : public CustomUIActionSheetViewController {
public:
    void viewDidLoad() override { setActionSheetView(platform::ui::View::make(Rect{0, 0, 300, 100})); }
};

class PanelSheet2 : public CustomUIActionSheetViewController2 {
public:
    void viewDidLoad() override { setActionSheetView(platform::ui::View::make(Rect{0, 0, 300, 100})); }
    int slides = 0;
    void slideIn() override {
        const bool was = isSliding();
        CustomUIActionSheetViewController2::slideIn();
        if (!was) ++slides;
    }
};

// Counts the Returns a field answers itself.
struct FieldRecorder : platform::ui::TextFieldDelegate {
    bool shouldReturn(platform::ui::TextField&) override {
        ++returns;
        return true;
    }
    int returns = 0;
};

class ScreenAndSheetBaseTest : public ShellTest {
protected:
    template <class Sheet> static void show(const std::shared_ptr<Sheet>& sheet, platform::ui::ViewController& over) {
        over.view()->addSubview(sheet->view());
        sheet->viewWillAppear(false);
    }
    // A sheet shown over `screen` whose panel holds a button that counts its presses in
    // `presses`; the button is the sheet's default one when `named`.
    static std::shared_ptr<PanelSheet> showSheetWithButton(platform::ui::ViewController& screen, int& presses,
                                                           bool named) {
        auto sheet = std::make_shared<PanelSheet>();
        show(sheet, screen);
        auto ok = platform::ui::Button::make(Rect{10, 60, 100, 30});
        ok->onTouchUpInside([&presses] { ++presses; });
        sheet->actionSheetView()->addSubview(ok);
        if (named) sheet->setDefaultButton(ok);
        return sheet;
    }
};

// ---- screen base

TEST_F(ScreenAndSheetBaseTest, TabletLoadsTheLayoutNamedWithTheTabletSuffix) {
    EXPECT_EQ(KavoViewController("GameView").nibName(), "GameView");
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    EXPECT_EQ(KavoViewController("GameView").nibName(), "GameView-iPad");
    EXPECT_EQ(CustomUIActionSheetViewController("IntoBoard").nibName(), "IntoBoard-iPad");
}

TEST_F(ScreenAndSheetBaseTest, ScreensTurnOnlyToTheTwoLandscapes) {
    KavoViewController screen;
    EXPECT_FALSE(screen.shouldAutorotateToInterfaceOrientation(InterfaceOrientation::Portrait));
    EXPECT_FALSE(screen.shouldAutorotateToInterfaceOrientation(InterfaceOrientation::PortraitUpsideDown));
    EXPECT_TRUE(screen.shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));
    EXPECT_TRUE(screen.shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeRight));
}

TEST_F(ScreenAndSheetBaseTest, BadgeCountsEveryMailAndHidesWhenTheMailboxIsEmpty) {
    auto screen = launchAndPush();
    EXPECT_TRUE(screen->imgViewCounterMessage()->isHidden());
    EXPECT_TRUE(screen->lblCounterMessage()->isHidden());
    for (int i = 0; i < 3; ++i)
        UIController::addItemIntoListMessage(std::make_shared<KavoMessage>());
    screen->reloadMessages();
    EXPECT_FALSE(screen->imgViewCounterMessage()->isHidden());
    EXPECT_EQ(screen->lblCounterMessage()->text(), "3");
    EXPECT_EQ(screen->view()->subviews().back(), screen->lblCounterMessage()) << "brought to the front";
    UIController::signOutListMessage();
    screen->reloadMessages();
    EXPECT_TRUE(screen->imgViewCounterMessage()->isHidden());
    EXPECT_EQ(screen->lblCounterMessage()->text(), "");
}

TEST_F(ScreenAndSheetBaseTest, EveryScreenHasItsLotteryPanelOnceItsViewLoads) {
    KavoViewController screen;
    EXPECT_FALSE(screen.lottoSubView());
    screen.view();
    ASSERT_TRUE(screen.lottoSubView());
    screen.showRemainTimer(42);
    EXPECT_EQ(screen.lottoSubView()->remainTime(), 42);
}

TEST_F(ScreenAndSheetBaseTest, ProfileForTheSamePlayerTwiceOnlyShowsThePanelAgain) {
    auto screen = launchAndPush();
    screen->doShowUserInfo(77);
    auto panel = screen->profileSubView();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->currentId(), 77);
    EXPECT_DOUBLE_EQ(panel->view()->frame().x(), 160) << "slid in from x 480";
    EXPECT_EQ(panel->view()->superview(), screen->view().get());

    panel->view()->setHidden(true);
    panel->view()->setFrame(Rect{170, 0, 320, 268}); // where a second slide would not put it
    screen->doShowUserInfo(77);
    EXPECT_FALSE(panel->view()->isHidden());
    EXPECT_DOUBLE_EQ(panel->view()->frame().x(), 170) << "no second slide";
    EXPECT_EQ(screen->profileSubView(), panel) << "the panel is kept";

    screen->doShowUserInfo(78);
    EXPECT_EQ(panel->currentId(), 78);
    EXPECT_DOUBLE_EQ(panel->view()->frame().x(), 170);
}

TEST_F(ScreenAndSheetBaseTest, SettingsFromALobbyScreenAndFromATableDiffer) {
    auto lobby = launchAndPush();
    lobby->clickSetting();
    const size_t lobbySections = SettingsView::getInstance()->keys().size();
    EXPECT_EQ(SettingsView::getInstance()->view()->superview(), lobby->view().get());
    auto table = std::make_shared<RecordingTable>();
    push(table);
    table->clickSetting();
    EXPECT_EQ(SettingsView::getInstance()->keys().size(), lobbySections + 1) << "the table's own rows";
}

// ---- sheet base

TEST_F(ScreenAndSheetBaseTest, SheetCentresItsPanelAndHidesTheBackButtonWhileUp) {
    auto screen = launchAndPush();
    ASSERT_FALSE(delegate().btnBack()->isHidden());
    auto sheet = std::make_shared<PanelSheet>();
    show(sheet, *screen);
    EXPECT_TRUE(delegate().btnBack()->isHidden());
    EXPECT_EQ(sheet->view()->frame(), (Rect{0, 0, 480, 320}));
    EXPECT_EQ(sheet->actionSheetView()->frame(), (Rect{0, 110, 300, 100}));
    sheet->slideOut();
    EXPECT_FALSE(delegate().btnBack()->isHidden()) << "shown again at once";
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), 290);
    EXPECT_EQ(sheet->view()->superview(), screen->view().get());
    advance(0.3);
    EXPECT_EQ(sheet->view()->superview(), nullptr) << "removed when the slide ends";
}

// Either sheet base puts back what it found: the game grid shows no back button, the board
// list does.
TEST_F(ScreenAndSheetBaseTest, ClosingASheetOverTheGameGridLeavesTheBackButtonHiddenButNotOverTheBoardList) {
    auto grid = launchAndPush(std::make_shared<GameView>());
    ASSERT_TRUE(delegate().btnBack()->isHidden());
    auto lottery = std::make_shared<PanelSheet2>();
    show(lottery, *grid);
    lottery->slideOut();
    EXPECT_TRUE(delegate().btnBack()->isHidden()) << "the lottery panel's base";
    auto sheet = std::make_shared<PanelSheet>();
    show(sheet, *grid);
    sheet->slideOut();
    EXPECT_TRUE(delegate().btnBack()->isHidden()) << "the other sheets' base";
    advance(0.3);

    auto boards = std::make_shared<BoardView>();
    push(boards);
    show(sheet, *boards);
    EXPECT_TRUE(delegate().btnBack()->isHidden());
    sheet->slideOut();
    EXPECT_FALSE(delegate().btnBack()->isHidden());
}

TEST_F(ScreenAndSheetBaseTest, SheetShownAgainWhileClosingIsNotRemovedByTheOldClose) {
    auto screen = launchAndPush();
    auto sheet = std::make_shared<PanelSheet>();
    show(sheet, *screen);
    sheet->slideOut();
    show(sheet, *screen);
    advance(1);
    EXPECT_EQ(sheet->view()->superview(), screen->view().get());
}

// The lottery panel too: a close that ends after the panel was shown again leaves it up,
// while a close that ends undisturbed takes it away.
TEST_F(ScreenAndSheetBaseTest, LotterySheetShownAgainWhileClosingIsNotRemovedByTheOldClose) {
    auto screen = launchAndPush();
    auto sheet = std::make_shared<PanelSheet2>();
    show(sheet, *screen);
    sheet->slideOut();
    advance(0.1);
    show(sheet, *screen);
    advance(1);
    EXPECT_EQ(sheet->view()->superview(), screen->view().get());
    EXPECT_TRUE(sheet->isSliding());

    sheet->slideOut();
    advance(1);
    EXPECT_EQ(sheet->view()->superview(), nullptr);
}

TEST_F(ScreenAndSheetBaseTest, OnlyTheClosingAnimationRemovesTheSheet) {
    auto screen = launchAndPush();
    auto sheet = std::make_shared<PanelSheet>();
    show(sheet, *screen);
    sheet->animationDidStop("presentWithSuperview", true);
    EXPECT_EQ(sheet->view()->superview(), screen->view().get());
    sheet->animationDidStop(CustomUIActionSheetViewController::RemoveAnimationName, true);
    EXPECT_EQ(sheet->view()->superview(), nullptr);
}

TEST_F(ScreenAndSheetBaseTest, LotterySheetSlidesInOnceAndClosesOnce) {
    auto screen = launchAndPush();
    auto sheet = std::make_shared<PanelSheet2>();
    show(sheet, *screen);
    EXPECT_TRUE(sheet->isSliding());
    EXPECT_EQ(sheet->actionSheetView()->frame(), (Rect{0, 220, 300, 100})) << "flush with the bottom edge";
    sheet->slideIn();
    EXPECT_EQ(sheet->slides, 1);
    sheet->slideOut();
    EXPECT_FALSE(sheet->isSliding());
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), 290);
    sheet->actionSheetView()->setFrame(Rect{0, 5, 300, 100});
    sheet->slideOut(); // already closed: nothing moves
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), 5);
}

// ---- Return over sheets

// Return where no dialog is up goes to the topmost of the focused field and a sheet that is
// up: a sheet presses its default button as a click does (a sheet without one keeps the
// key); the sheet's last field presses it too, another field of the sheet or one over it
// answers the key itself, a field under the sheet hears nothing; a sheet sliding out passes
// the key on.
TEST_F(ScreenAndSheetBaseTest, ReturnGoesToTheTopmostOfTheFocusedFieldAndASheetThatIsUp) {
    enum class Field { None, UnderTheSheet, LastInTheSheet, BeforeTheSheetsLast, OverTheSheet };
    struct Case {
        const char* name;
        bool withDefault;
        Field field;
        bool closing;
        int presses, fieldReturns;
    };
    const Case cases[] = {{"no field", true, Field::None, false, 1, 0},
                          {"a field under the sheet", true, Field::UnderTheSheet, false, 1, 0},
                          {"the sheet's last field", true, Field::LastInTheSheet, false, 1, 0},
                          {"a field before the sheet's last", true, Field::BeforeTheSheetsLast, false, 0, 1},
                          {"a field over the sheet", true, Field::OverTheSheet, false, 0, 1},
                          {"a sheet without a default button", false, Field::UnderTheSheet, false, 0, 0},
                          {"the last field of a sheet without one", false, Field::LastInTheSheet, false, 0, 1},
                          {"a sheet sliding out", true, Field::UnderTheSheet, true, 0, 1}};
    auto screen = launchAndPush();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int presses = 0;
        auto sheet = showSheetWithButton(*screen, presses, c.withDefault);
        FieldRecorder recorder;
        auto field = platform::ui::TextField::make(Rect{10, 10, 200, 30});
        field->setDelegate(&recorder);
        auto last = platform::ui::TextField::make(Rect{10, 40, 200, 20});
        if (c.field == Field::UnderTheSheet) screen->view()->insertSubviewBelow(field, sheet->view().get());
        if (c.field == Field::LastInTheSheet || c.field == Field::BeforeTheSheetsLast)
            sheet->actionSheetView()->addSubview(field);
        if (c.field == Field::BeforeTheSheetsLast) sheet->actionSheetView()->addSubview(last);
        if (c.field == Field::OverTheSheet) screen->view()->addSubview(field);
        if (c.field != Field::None) {
            ASSERT_TRUE(field->becomeFirstResponder());
        }
        if (c.closing) sheet->slideOut();

        platform::ui::Application::shared().dispatchKey(platform::ui::Key::Return);
        EXPECT_EQ(presses, c.presses);
        EXPECT_EQ(recorder.returns, c.fieldReturns);

        field->setDelegate(nullptr);
        field->resignFirstResponder();
        field->removeFromSuperview();
        last->removeFromSuperview();
        sheet->view()->removeFromSuperview();
    }
}

// Escape and Return find the same overlay in front. Over a form whose last field has the
// focus (the sign-in form), what lies open in front of it takes both keys: Return never
// presses the form's button under it (a field of the overlay answers Return itself) and
// Escape closes the overlay, not the form. A sheet sliding out is in front no more: both
// keys go to the form.
TEST_F(ScreenAndSheetBaseTest, EscapeAndReturnStopAtTheSameOverlayInFront) {
    enum class Overlay { OwnClose, OwnCloseWithItsFieldFocused, SheetWithoutButton, SheetSlidingOut };
    struct Case {
        const char* name;
        Overlay overlay;
        int formPresses, overlayFieldReturns;
        bool escapeClosesTheForm;
    };
    const Case cases[] = {{"a view with a close of its own", Overlay::OwnClose, 0, 0, false},
                          {"the same with its own field focused", Overlay::OwnCloseWithItsFieldFocused, 0, 1, false},
                          {"a sheet without a button", Overlay::SheetWithoutButton, 0, 0, false},
                          {"a sheet sliding out", Overlay::SheetSlidingOut, 1, 0, true}};
    auto& app = platform::ui::Application::shared();
    auto screen = launchAndPush();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int presses = 0;
        auto form = showSheetWithButton(*screen, presses, true);
        auto formField = platform::ui::TextField::make(Rect{10, 10, 200, 30});
        form->actionSheetView()->addSubview(formField);
        ASSERT_TRUE(formField->becomeFirstResponder());

        FieldRecorder recorder;
        auto overlayField = platform::ui::TextField::make(Rect{10, 10, 100, 30});
        overlayField->setDelegate(&recorder);
        std::shared_ptr<PanelSheet> sheet;
        platform::ui::ViewPtr plain;
        const auto overlayOpen = [&] { return plain ? plain->superview() != nullptr : !sheet->isClosing(); };
        if (c.overlay == Overlay::OwnClose || c.overlay == Overlay::OwnCloseWithItsFieldFocused) {
            plain = closingView<platform::ui::View>(Rect{0, 0, 200, 100}, "stakeEntry", [&plain] {
                plain->removeFromSuperview();
                return true;
            });
            plain->addSubview(overlayField);
            screen->view()->addSubview(plain);
            if (c.overlay == Overlay::OwnCloseWithItsFieldFocused) {
                ASSERT_TRUE(overlayField->becomeFirstResponder());
            }
        } else {
            sheet = std::make_shared<PanelSheet>();
            show(sheet, *screen);
            if (c.overlay == Overlay::SheetSlidingOut) sheet->slideOut();
        }

        app.dispatchKey(platform::ui::Key::Return);
        EXPECT_EQ(presses, c.formPresses);
        EXPECT_EQ(recorder.returns, c.overlayFieldReturns);
        app.dispatchKey(platform::ui::Key::Escape);
        EXPECT_EQ(form->isClosing(), c.escapeClosesTheForm);
        if (!c.escapeClosesTheForm) {
            EXPECT_FALSE(overlayOpen()) << "Escape closed the overlay Return stopped at";
        }

        overlayField->setDelegate(nullptr);
        if (plain) plain->removeFromSuperview();
        if (sheet) sheet->view()->removeFromSuperview();
        form->view()->removeFromSuperview();
    }
}

// Every sheet whose panel has a button that confirms what it shows names it as Return's:
// the result table's OK, the forms' OK, send, add and join, the settings' only button.
TEST_F(ScreenAndSheetBaseTest, EverySheetWithAConfirmingButtonNamesItForReturn) {
    using Make = std::function<std::shared_ptr<CustomUIActionSheetViewController>()>;
    const std::vector<std::pair<Make, std::string>> sheets = {
        {[] { return std::make_shared<MauBinhResultView>(); }, "slideOut"},
        {[] { return std::make_shared<SendAdminView>(); }, "btnOK"},
        {[] { return std::make_shared<AddFriendView>(); }, "btnAccept"},
        {[] { return std::make_shared<TransferMoneyView>(); }, "btnOK"},
        {[] { return std::make_shared<ChangePassView>(); }, "onChangePass"},
        {[] { return std::make_shared<menuPassword>(); }, "btnOK"},
        {[] { return std::make_shared<menuCuoc>(); }, "btnOK"},
        {[] { return std::make_shared<PokerBuyStackView>(); }, "btnOK"},
        {[] { return std::make_shared<InviteView>(); }, "btnInvite"},
        {[] { return std::make_shared<IntoBoard>(); }, "btnOK"},
        {[] { return std::make_shared<PasswordIntoBoard>(); }, "btnOK"},
        {[] { return std::make_shared<SettingsView>(); }, "btnClose_Clicked"}};
    auto screen = launchAndPush();
    for (const auto& [make, button] : sheets) {
        SCOPED_TRACE(button);
        auto sheet = make();
        show(sheet, *screen);
        ASSERT_TRUE(sheet->defaultButton());
        EXPECT_EQ(sheet->defaultButton()->accessibilityIdentifier(), button);
        EXPECT_TRUE(sheet->defaultButton()->isDescendantOf(sheet->actionSheetView().get()));
        sheet->view()->removeFromSuperview();
    }
}

TEST_F(ScreenAndSheetBaseTest, OnATabletTheSheetsUseTheTallerScreen) {
    platform::ui::Screen::setIdiom(platform::ui::Idiom::Tablet);
    auto screen = launchAndPush();
    auto sheet = std::make_shared<PanelSheet>();
    show(sheet, *screen);
    EXPECT_DOUBLE_EQ(sheet->actionSheetView()->frame().y(), (768 - 100) / 2.0);
    auto lottery = std::make_shared<PanelSheet2>();
    show(lottery, *screen);
    EXPECT_DOUBLE_EQ(lottery->actionSheetView()->frame().y(), 768 - 100);
}

} // namespace
} // namespace kavo::test
