#include "account/ProfileView.h"

#include "app/Resources.h"
#include "app/Util.h"
#include "platform/ui/Label.h"
#include "table/TextRowsSource.h"

namespace kavo {

ProfileAssetsView::ProfileAssetsView(platform::ui::Rect frame)
    : platform::ui::View(frame), rows_(std::make_shared<TextRowsSource>()) {
    tableView_ = rows_->makeTable({0, 0, frame.width(), frame.height()}, "tblAssets");
    addSubview(tableView_);
}

void ProfileAssetsView::forceReloadTableView() {
    std::vector<std::string> items, avatars, events;
    for (const auto& item : listBoughtItems_) {
        if (item) items.push_back(item->name());
    }
    for (const auto& avatar : listBoughtAvatars_) {
        if (avatar) avatars.push_back(std::string(1, '#').append(std::to_string(avatar->avatarId())));
    }
    for (const auto& asset : listEventItems_) {
        if (asset) events.push_back(asset->name());
    }
    rows_->setSections({std::move(items), std::move(avatars), std::move(events)});
    tableView_->reloadData();
}

ProfileTransactionView::ProfileTransactionView(platform::ui::Rect frame)
    : platform::ui::View(frame), rows_(std::make_shared<TextRowsSource>()) {
    tableView_ = rows_->makeTable({0, 0, frame.width(), frame.height()}, "tblTransaction");
    addSubview(tableView_);
}

void ProfileTransactionView::forceReloadData() {
    std::vector<std::string> rows;
    for (const auto& log : transactionList_) {
        if (log) rows.push_back(log->time() + "  " + log->content());
    }
    rows_->setRows(std::move(rows));
    tableView_->reloadData();
}

ProfileView::ProfileView()
    : KavoViewController("ProfileView"),
      assetsView_(std::make_shared<ProfileAssetsView>(Util::changeRectFromRect({10, 100, 225, 210}))),
      transactionView_(std::make_shared<ProfileTransactionView>(Util::changeRectFromRect({245, 100, 225, 210}))) {}

void ProfileView::onMyUserDataWithUser(const std::shared_ptr<User>& user) {
    user_ = user;
    if (lblName_ && user_) lblName_->setText(user_->fullname());
}

void ProfileView::onMyAchievementWithGameId(int /*gameId*/, const std::vector<int32_t>& achivement) {
    achievement_ = achivement;
}

void ProfileView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    auto& root = *view();
    root.setBackgroundColor(platform::ui::Color::rgba(25, 35, 60));
    auto title = platform::ui::Label::make(Util::changeRectFromRect({10, 40, 300, 24}),
                                           Resources::getInstance().textWithKey("KAVO_My_Information"));
    title->setAccessibilityIdentifier("lblTitle");
    title->setTextColor(platform::ui::Color::white());
    title->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(title);
    lblName_ = platform::ui::Label::make(Util::changeRectFromRect({10, 70, 300, 20}));
    lblName_->setAccessibilityIdentifier("lblName");
    lblName_->setTextColor(platform::ui::Color::white());
    lblName_->setBackgroundColor(platform::ui::Color::clear());
    root.addSubview(lblName_);
    root.addSubview(assetsView_);
    root.addSubview(transactionView_);
}

} // namespace kavo
