// One full frame of the busiest screen, the card table (four seats, thirteen cards in
// my hand, a combination on the table, bubbles up, the turn bar running), drawn
// offscreen at phone and at tablet size.

#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "platform/foundation/Bundle.h"
#include "platform/render/OffscreenTarget.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "table/cards/CardView.h"
#include "table/base/TienLenPlayer.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

std::shared_ptr<kavo::TienLenPlayer> player(int32_t id, const std::string& name) {
    auto record = std::make_shared<kavo::TienLenPlayer>();
    record->setIDDB(id);
    record->setName(name);
    record->setMoney(250000);
    return record;
}

void CardTableFrame(benchmark::State& state, platform::ui::Idiom idiom) {
    const char* root = std::getenv("KAVO_SOURCE_DIR");
    platform::Bundle::main().setMainPath(std::string(root ? root : ".") + "/resources");
    platform::RunLoop::main().bindToCurrentThread();
    platform::ScopedManualClock clock;
    platform::ui::Screen::setIdiom(idiom);
    auto& resources = kavo::Resources::getInstance();
    resources.setCurrentLanguage("en");
    resources.loadLanguage();
    auto me = player(7, "me");
    kavo::UIController::setMyInfo(me);
    kavo::UIController::setGameType(3);

    auto table = std::make_shared<kavo::TienLenView>();
    auto window = platform::ui::Window::make();
    window->setRootViewController(table);
    window->makeKeyAndVisible();
    table->resetView();
    table->setupPlayersWithRoom(1, 4, 7, 500, {me, player(8, "an"), player(9, "binh"), player(10, "cuong")});
    const bool tablet = idiom == platform::ui::Idiom::Tablet;
    const double step = tablet ? 52 : 24;
    for (int i = 0; i < 13; ++i) {
        auto card = kavo::CardView::withCardID(int8_t(i * 4));
        card->setCenter({(tablet ? 230 : 110) + i * step, tablet ? 600.0 : 250.0});
        table->view()->addSubview(card);
    }
    for (int i = 0; i < 3; ++i) {
        auto played = kavo::CardView::withCardID(int8_t(21 + i * 4));
        played->setCenter({(tablet ? 460 : 215) + i * step, tablet ? 330.0 : 140.0});
        table->view()->addSubview(played);
    }
    table->onChatFromWithId(8, "", "nhanh len :)");
    table->onChatFromWithId(9, "", "ok");
    table->setInterval(20);
    table->setDieTime(14);
    table->setCurrentPlayer(7);
    table->setTimerWithSeat(0);
    const auto windows = platform::ui::Window::visibleWindows();
    const auto size = platform::ui::Screen::size();
    // The target and the renderer (with its texture cache) live as long as a window's do, so
    // only the drawing of the frame is timed.
    platform::render::OffscreenTarget target(int(size.width), int(size.height));
    platform::render::Renderer renderer(target.renderer());
    for (auto _ : state) {
        renderer.render(windows, size);
        SDL_RenderFlush(target.renderer());
    }
    platform::ui::Window::resetAll();
    kavo::UIController::setMyInfo(nullptr);
}

void CardTablePhone(benchmark::State& state) {
    CardTableFrame(state, platform::ui::Idiom::Phone);
}
void CardTableTablet(benchmark::State& state) {
    CardTableFrame(state, platform::ui::Idiom::Tablet);
}

} // namespace

BENCHMARK(CardTablePhone)->Unit(benchmark::kMillisecond);
BENCHMARK(CardTableTablet)->Unit(benchmark::kMillisecond);
