#include "platform/ui/View.h"

#include "CoreTestSupport.h"
#include "platform/ui/Display.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/Window.h"

#include <numbers>
#include <thread>

using namespace platform::ui;

namespace {
class BadgeView : public View {
public:
    using View::View;
    std::string text() const override { return "badge"; }
};
} // namespace

class ViewTest : public CoreUiTest {};

TEST_F(ViewTest, RemovedSubviewHasNoSuperviewAndSurvivesWhileHeld) {
    auto parent = View::make({0, 0, 100, 100});
    auto child = View::make({10, 10, 20, 20});
    parent->addSubview(child);
    EXPECT_EQ(child->superview(), parent.get());
    child->removeFromSuperview();
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_TRUE(parent->subviews().empty());
}

TEST_F(ViewTest, AViewChangedOffTheMainThreadStopsTheProgram) {
#ifdef NDEBUG
    GTEST_SKIP() << "release builds do not check";
#endif
    auto view = View::make({0, 0, 10, 10});
    view->setAlpha(0.5);
    EXPECT_DEATH(std::thread([&] { view->setAlpha(0.2); }).join(), "off the main thread in setAlpha");
    EXPECT_EQ(view->alpha(), 0.5);
}

TEST_F(ViewTest, DestroyedSuperviewLeavesNoDanglingPointer) {
    auto child = View::make({0, 0, 10, 10});
    {
        auto parent = View::make({0, 0, 100, 100});
        parent->addSubview(child);
    }
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_EQ(child->window(), nullptr);
    // Converting and hit testing walk the superview chain: with a dangling pointer
    // the sanitizer stops the test here.
    EXPECT_EQ(child->convertPoint({1, 1}, nullptr).x, 1);
}

TEST_F(ViewTest, ViewRemovingItselfFromTheOnlyOwnerIsSafe) {
    auto parent = View::make({0, 0, 100, 100});
    std::weak_ptr<View> weak;
    {
        auto child = View::make({0, 0, 10, 10});
        weak = child;
        parent->addSubview(child);
    }
    weak.lock()->removeFromSuperview(); // the temporary keeps it alive during the call
    EXPECT_TRUE(weak.expired());
}

TEST_F(ViewTest, AddingMovesBetweenSuperviewsAndRefusesCycles) {
    auto a = View::make({0, 0, 100, 100});
    auto b = View::make({0, 0, 100, 100});
    auto child = View::make({0, 0, 10, 10});
    a->addSubview(child);
    b->addSubview(child);
    EXPECT_TRUE(a->subviews().empty());
    EXPECT_EQ(child->superview(), b.get());

    child->addSubview(b); // b is above child: refused
    EXPECT_EQ(b->superview(), nullptr);
    child->addSubview(child);
    EXPECT_TRUE(child->subviews().empty());
}

TEST_F(ViewTest, OrderOfSubviews) {
    auto parent = View::make({0, 0, 100, 100});
    auto a = View::make(), b = View::make(), c = View::make(), d = View::make();
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);            // c a b
    parent->insertSubviewAbove(d, a.get()); // c a d b
    parent->bringSubviewToFront(c.get());   // a d b c
    parent->sendSubviewToBack(b.get());     // b a d c
    parent->insertSubviewBelow(c, a.get()); // b c a d
    std::vector<View*> order;
    for (const auto& v : parent->subviews())
        order.push_back(v.get());
    EXPECT_EQ(order, (std::vector<View*>{b.get(), c.get(), a.get(), d.get()}));
}

TEST_F(ViewTest, TagsTypesAndClassNames) {
    auto root = View::make({0, 0, 100, 100});
    auto badge = std::make_shared<BadgeView>(Rect{0, 0, 10, 10});
    badge->setTag(7);
    auto holder = View::make();
    holder->addSubview(badge);
    root->addSubview(holder);
    EXPECT_EQ(root->viewWithTag(7), badge.get());
    EXPECT_EQ(root->viewWithTag(8), nullptr);
    EXPECT_EQ(root->subviewsOfType<BadgeView>().size(), 1u);
    EXPECT_EQ(badge->className(), "BadgeView");
    EXPECT_EQ(root->className(), "View");
    EXPECT_EQ(badge->accessibilityLabel(), "badge");
}

TEST_F(ViewTest, FrameFollowsCentreBoundsAndTransform) {
    auto v = View::make({10, 20, 100, 50});
    EXPECT_EQ(v->center(), (Point{60, 45}));
    EXPECT_EQ(v->bounds(), Rect(0, 0, 100, 50));
    v->setCenter({100, 100});
    EXPECT_EQ(v->frame(), Rect(50, 75, 100, 50));
    v->setTransform(AffineTransform::scale(0.5, 0.5));
    EXPECT_EQ(v->frame(), Rect(75, 87.5, 50, 25));
    EXPECT_EQ(v->bounds().size, (Size{100, 50}));
}

TEST_F(ViewTest, FlexibleSubviewsFollowTheirSuperviewsSize) {
    auto parent = View::make({0, 0, 480, 320});
    auto fill = View::make({0, 0, 480, 320});
    fill->setAutoresizingMask(AutoresizingFlexibleWidth | AutoresizingFlexibleHeight);
    auto pinnedRight = View::make({430, 10, 40, 40});
    pinnedRight->setAutoresizingMask(AutoresizingFlexibleLeftMargin);
    auto fixed = View::make({10, 10, 40, 40});
    parent->addSubview(fill);
    parent->addSubview(pinnedRight);
    parent->addSubview(fixed);
    parent->setFrame({0, 0, 1024, 768});
    EXPECT_EQ(fill->frame(), Rect(0, 0, 1024, 768));
    EXPECT_EQ(pinnedRight->frame(), Rect(974, 10, 40, 40));
    EXPECT_EQ(fixed->frame(), Rect(10, 10, 40, 40));
}

// ---- hit testing

TEST_F(ViewTest, HitTestFindsTheTopMostSiblingUnderThePoint) {
    auto root = View::make({0, 0, 200, 200});
    auto below = View::make({0, 0, 100, 100});
    auto above = View::make({50, 50, 100, 100});
    root->addSubview(below);
    root->addSubview(above);
    EXPECT_EQ(root->hitTest({75, 75}), above.get()); // the overlap goes to the later sibling
    EXPECT_EQ(root->hitTest({25, 25}), below.get());
    EXPECT_EQ(root->hitTest({180, 20}), root.get());
    EXPECT_EQ(root->hitTest({250, 20}), nullptr); // outside the root itself
}

TEST_F(ViewTest, HitTestSkipsHiddenTransparentAndNonInteractiveViews) {
    auto root = View::make({0, 0, 200, 200});
    auto below = View::make({0, 0, 100, 100});
    auto above = View::make({0, 0, 100, 100});
    root->addSubview(below);
    root->addSubview(above);

    above->setHidden(true);
    EXPECT_EQ(root->hitTest({10, 10}), below.get());
    above->setHidden(false);
    above->setAlpha(0.01);
    EXPECT_EQ(root->hitTest({10, 10}), below.get());
    above->setAlpha(0.02);
    EXPECT_EQ(root->hitTest({10, 10}), above.get());
    above->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest({10, 10}), below.get());

    // A non-interactive parent hides its whole subtree from touches.
    auto button = View::make({0, 0, 10, 10});
    above->addSubview(button);
    EXPECT_EQ(root->hitTest({5, 5}), below.get());
}

TEST_F(ViewTest, SubviewsOutsideTheirSuperviewAreNotHit) {
    auto root = View::make({0, 0, 300, 300});
    auto small = View::make({0, 0, 50, 50});
    auto sticking = View::make({40, 40, 50, 50}); // reaches past small's bounds
    small->addSubview(sticking);
    root->addSubview(small);
    EXPECT_EQ(root->hitTest({45, 45}), sticking.get());
    EXPECT_EQ(root->hitTest({80, 80}), root.get());
}

TEST_F(ViewTest, HitTestFollowsTheTransform) {
    auto root = View::make({0, 0, 300, 300});
    auto card = View::make({100, 100, 20, 100}); // tall and thin, centred at (110, 150)
    root->addSubview(card);
    EXPECT_EQ(root->hitTest({150, 150}), root.get());
    card->setTransform(AffineTransform::rotation(std::numbers::pi / 2)); // now wide and flat
    EXPECT_EQ(root->hitTest({150, 150}), card.get());
    EXPECT_EQ(root->hitTest({110, 110}), root.get());
    card->setTransform(AffineTransform::scale(0, 0));
    EXPECT_EQ(root->hitTest({110, 150}), root.get());
}

// ---- drawing

TEST_F(ViewTest, DrawHandlerRunsAfterTheViewsOwnDrawingInBoundsCoordinates) {
    auto v = View::make({40, 40, 30, 20});
    v->setDrawHandler([](GraphicsContext& g, Rect bounds) {
        g.setFillColor(Color::red());
        g.fillRect(bounds);
    });
    RecordingContext recording;
    v->drawContent(recording);
    EXPECT_EQ(recording.text(), "setFillColor 1,0,0,1\nfillRect 0 0 30 20");
}

TEST_F(ViewTest, ChangesThatShowBumpTheDisplayGeneration) {
    auto window = Window::make();
    window->makeKeyAndVisible();
    auto v = View::make({0, 0, 10, 10});
    window->addSubview(v);
    uint64_t before = Display::generation();
    v->setBackgroundColor(Color::blue());
    EXPECT_GT(Display::generation(), before);
    before = Display::generation();
    v->layer().setCornerRadius(4);
    EXPECT_GT(Display::generation(), before);
}

TEST_F(ViewTest, LayoutRunsOnceUntilTheSizeChanges) {
    struct Counting : View {
        using View::View;
        int layouts = 0;
        void layoutSubviews() override { ++layouts; }
    };
    auto v = std::make_shared<Counting>(Rect{0, 0, 10, 10});
    v->layoutIfNeeded();
    v->layoutIfNeeded();
    EXPECT_EQ(v->layouts, 1);
    v->setFrame({0, 0, 20, 10});
    v->layoutIfNeeded();
    EXPECT_EQ(v->layouts, 2);
    v->setCenter({50, 50}); // moving does not need a new layout
    v->layoutIfNeeded();
    EXPECT_EQ(v->layouts, 2);
}
