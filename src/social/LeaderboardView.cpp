#include "social/LeaderboardView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "table/TextRowsSource.h"

namespace kavo {

LeaderboardView::LeaderboardView() : KavoViewController("LeaderboardView"), rows_(std::make_shared<TextRowsSource>()) {}

LeaderboardView::~LeaderboardView() = default;

LeaderboardView::Rows* LeaderboardView::listTopForGame(int8_t gameType) {
    switch (gameType) {
    case 1:
        return &listTopCaro_;
    case 2:
        return &listTopXiDzach_;
    case 3:
        return &listTopTLMN_;
    case 4:
        return &listTopPoker_;
    case 5:
        return &listTopCoTuong_;
    case 8:
        return &listTopTetris_;
    case 9:
        return &listTopCoVua_;
    case 11:
        return &listTopBaiCao_;
    case 12:
        return &listTopTLMB_;
    case 13:
        return &listTopPhom_;
    case 16:
        return &listTopMauBinh_;
    case 17:
        return &listTopCaoRua_;
    case 18:
        return &listTopBauCua_;
    case 20:
        return &listTopCoUp_;
    default:
        return nullptr;
    }
}

void LeaderboardView::forceReloadDataDanhSach() {
    std::vector<std::string> rows;
    for (const auto& player : listTopRichests_) {
        if (player) rows.push_back(player->name() + "  " + Util::formatNumber(player->money()));
    }
    rows_->setRows(std::move(rows));
    if (!isViewLoaded()) return;
    tblDanhSach_->reloadData();
    hideLoadingScreen(view());
    view()->setUserInteractionEnabled(true);
}

void LeaderboardView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(25, 35, 60));
    auto title = platform::ui::Label::make(Util::changeRectFromRect({10, 40, 300, 24}),
                                           Resources::getInstance().textWithKey("KAVO_Leaderboard_TopRichest"));
    title->setAccessibilityIdentifier("lblTitle");
    title->setTextColor(platform::ui::Color::white());
    title->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(title);
    tblDanhSach_ = rows_->makeTable(Util::changeRectFromRect({10, 70, 460, 240}), "tblDanhSach");
    root.addSubview(tblDanhSach_);
}

} // namespace kavo
