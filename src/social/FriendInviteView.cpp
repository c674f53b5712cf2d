#include "social/FriendInviteView.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalService.h"

#include <algorithm>

namespace kavo {

using platform::ui::Button;
using platform::ui::Color;
using platform::ui::Rect;

namespace {

constexpr int kTagPicture = 101;
constexpr int kTagName = 102;
constexpr int kTagSecondLine = 103;

KavoMessageList invitationsInMailbox() {
    KavoMessageList invitations;
    for (const auto& message : UIController::listMessage())
        if (message->isRequestAddFriend()) invitations.push_back(message);
    return invitations;
}

} // namespace

FriendInviteView::FriendInviteView() : KavoViewController("FriendInviteView") {}

FriendInviteView::~FriendInviteView() {
    if (mainTableView_) {
        mainTableView_->setDataSource(nullptr);
        mainTableView_->setDelegate(nullptr);
    }
}

void FriendInviteView::viewDidLoad() {
    KavoViewController::viewDidLoad();
    // A sheet over the messages screen, whose own badge counts the unread mail.
    imgViewCounterMessage()->removeFromSuperview();
    lblCounterMessage()->removeFromSuperview();
    auto& root = *view();
    root.setBackgroundColor(Color::rgba(15, 25, 45));
    // The top left strip is the event ticker's: the title stands under it and the buttons
    // right of it.
    lblTitleLoiMoiKetBan_ = platform::ui::Label::make(scaled({10, 34, 300, 24}));
    lblTitleLoiMoiKetBan_->setAccessibilityIdentifier("lblTitleLoiMoiKetBan");
    lblTitleLoiMoiKetBan_->setTextColor(Color::white());
    lblTitleLoiMoiKetBan_->setBackgroundColor(Color::clear());
    root.addSubview(lblTitleLoiMoiKetBan_);
    auto button = [&](Rect frame, const char* identifier, std::function<void()> action) {
        auto made = Button::make(scaled(frame));
        made->setAccessibilityIdentifier(identifier);
        made->setBackgroundImage(Util::getImageWithName("button_red_small.png"));
        made->onTouchUpInside(std::move(action));
        // "Accept all" in either language: the title shrinks to its button.
        made->titleLabel()->setAdjustsFontSizeToFitWidth(true);
        made->titleLabel()->setMinimumFontSize(8 * Util::iPad());
        root.addSubview(made);
        return made;
    };
    btnChapNhatTatCa_ = button({244, 4, 100, 28}, "btnChapNhatTatCa", [this] { btnChapNhatTatCa_Clicked(); });
    btnXoaTatCa_ = button({348, 4, 94, 28}, "btnXoaTatCa", [this] { btnXoaTatCa_Clicked(); });
    btnClose_ = button({446, 4, 29, 27}, "doCloseThisView", [this] { doCloseThisView(); });
    btnClose_->setBackgroundImage(Util::getImageWithName("close_button.png"));
    mainTableView_ = platform::ui::TableView::make(scaled({70, 62, 340, 250}));
    mainTableView_->setAccessibilityIdentifier("mainTableView");
    mainTableView_->setBackgroundColor(Color::clear());
    mainTableView_->setRowHeight(Util::isPad() ? 98 : 41);
    mainTableView_->setDataSource(this);
    mainTableView_->setDelegate(this);
    root.addSubview(mainTableView_);
}

void FriendInviteView::setUIScreen() {
    lblTitleLoiMoiKetBan_->setText(text("KAVO_LoiMoi_Title"));
    btnChapNhatTatCa_->setTitle(text("KAVO_LoiMoi_ChapNhanTatCa"));
    btnXoaTatCa_->setTitle(text("KAVO_LoiMoi_XoaTatCa"));
}

void FriendInviteView::viewDidAppear(bool animated) {
    KavoViewController::viewDidAppear(animated);
    arrLoiMoi_ = invitationsInMailbox();
    setUIScreen();
    if (!arrLoiMoi_.empty()) showLoadingScreen(view());
    reloadLater();
}

void FriendInviteView::reloadLater() {
    std::weak_ptr<platform::ui::ViewController> weakSelf = weak_from_this();
    platform::runOnMainThread([weakSelf] {
        if (auto self = std::dynamic_pointer_cast<FriendInviteView>(weakSelf.lock())) self->forceReloadData();
    });
}

void FriendInviteView::forceReloadData() {
    if (!isViewLoaded()) return;
    mainTableView_->reloadData();
    Util::hideLoadingOnView(view());
}

void FriendInviteView::answer(int row, int8_t type) {
    // A button of a list that changed since it was drawn acts on nothing.
    if (row < 0 || size_t(row) >= arrLoiMoi_.size()) return;
    const auto invitation = arrLoiMoi_[size_t(row)];
    GlobalService::getInstance().answerFriendRequests({invitation->fromID()}, type);
    UIController::markItemsReadIntoListMessage({invitation});
    // The messages screen took the invitations out of the mailbox when it opened this
    // list, so the rest stay from this list, joined by any that arrived since.
    arrLoiMoi_.erase(arrLoiMoi_.begin() + row);
    for (const auto& message : invitationsInMailbox())
        if (std::find(arrLoiMoi_.begin(), arrLoiMoi_.end(), message) == arrLoiMoi_.end()) arrLoiMoi_.push_back(message);
    showLoadingScreen(view());
    reloadLater();
}

void FriendInviteView::btnAccept_Clicked(int tag) {
    answer(tag - kAcceptTag, kAccept);
}

void FriendInviteView::btnDelete_Clicked(int tag) {
    answer(tag - kRefuseTag, kRefuse);
}

void FriendInviteView::btnChapNhatTatCa_Clicked() {
    answerAll(kAccept);
}

void FriendInviteView::btnXoaTatCa_Clicked() {
    answerAll(kRefuse);
}

void FriendInviteView::answerAll(int8_t type) {
    std::vector<int32_t> senders;
    for (const auto& invitation : arrLoiMoi_)
        senders.push_back(invitation->fromID());
    GlobalService::getInstance().answerFriendRequests(senders, type);
    UIController::markItemsReadIntoListMessage(arrLoiMoi_);
    arrLoiMoi_.clear();
    showLoadingScreen(view());
    reloadLater();
}

void FriendInviteView::doCloseThisView() {
    view()->removeFromSuperview();
}

int FriendInviteView::numberOfRows(platform::ui::TableView& /*table*/, int /*section*/) {
    return int(arrLoiMoi_.size());
}

double FriendInviteView::heightForRow(platform::ui::TableView& /*table*/,
                                      const platform::ui::IndexPath& /*indexPath*/) {
    return Util::isPad() ? 98 : 41;
}

std::shared_ptr<platform::ui::TableViewCell> FriendInviteView::cellForRow(platform::ui::TableView& table,
                                                                          const platform::ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell("CellIdentifier");
    const bool pad = Util::isPad();
    const auto& content = [&]() -> const platform::ui::ViewPtr& {
        if (!cell) {
            cell = platform::ui::TableViewCell::make(platform::ui::TableViewCellStyle::Default, "CellIdentifier");
            cell->setSelectionStyle(platform::ui::TableViewCellSelectionStyle::None);
            const auto& view = cell->contentView();
            auto background = platform::ui::ImageView::make(pad ? Rect{0, 0, 724, 102} : Rect{0, 0, 340, 41});
            background->setImage(Util::getImageWithName(isAdded_ ? "tap_profile_cell2.png" : "tap_profile_cell1.png"));
            isAdded_ = !isAdded_;
            view->addSubview(background);
            auto picture = platform::ui::ImageView::make(pad ? Rect{21, 16, 76, 67} : Rect{10, 7, 36, 28});
            picture->setContentMode(platform::ui::ContentMode::ScaleAspectFit);
            picture->setTag(kTagPicture);
            view->addSubview(picture);
            for (const auto& [tag, frame] :
                 {std::pair{kTagName, pad ? Rect{115, 0, 257, 50} : Rect{54, 0, 121, 21}},
                  std::pair{kTagSecondLine, pad ? Rect{115, 40, 257, 50} : Rect{54, 17, 121, 21}}}) {
                auto label = platform::ui::Label::make(frame);
                label->setFont(platform::ui::Font::boldSystem(pad ? 22 : 11));
                label->setTextColor(Color::white());
                label->setBackgroundColor(Color::clear());
                label->setTextAlignment(platform::ui::TextAlignment::Left);
                label->setTag(tag);
                view->addSubview(label);
            }
            auto accept = Button::make(pad ? Rect{521, 19, 72, 62} : Rect{245, 8, 34, 26});
            accept->setBackgroundImage(Util::getImageWithName("shop_accept_button.png"));
            accept->setAccessibilityIdentifier("btnAccept_Clicked");
            Button* acceptRaw = accept.get();
            accept->onTouchUpInside([this, acceptRaw] { btnAccept_Clicked(acceptRaw->tag()); });
            view->addSubview(accept);
            auto refuse = Button::make(pad ? Rect{628, 19, 53, 59} : Rect{295, 8, 25, 25});
            refuse->setBackgroundImage(Util::getImageWithName("loimoi_cancel_button.png"));
            refuse->setAccessibilityIdentifier("btnDelete_Clicked");
            Button* refuseRaw = refuse.get();
            refuse->onTouchUpInside([this, refuseRaw] { btnDelete_Clicked(refuseRaw->tag()); });
            view->addSubview(refuse);
        }
        return cell->contentView();
    }();
    // The buttons are the last two parts; their tags follow the row shown now.
    const auto& parts = content->subviews();
    if (parts.size() >= 2) {
        parts[parts.size() - 2]->setTag(indexPath.row + kAcceptTag);
        parts[parts.size() - 1]->setTag(indexPath.row + kRefuseTag);
    }
    if (indexPath.row < 0 || size_t(indexPath.row) >= arrLoiMoi_.size()) return cell;
    const auto& invitation = *arrLoiMoi_[size_t(indexPath.row)];
    if (auto* picture = dynamic_cast<platform::ui::ImageView*>(content->viewWithTag(kTagPicture)))
        Resources::getInstance().assignAvatarId(
            invitation.senderAvatarID(),
            std::static_pointer_cast<platform::ui::ImageView>(picture->shared_from_this()));
    if (auto* name = dynamic_cast<platform::ui::Label*>(content->viewWithTag(kTagName)))
        name->setText(invitation.fromName());
    if (auto* second = dynamic_cast<platform::ui::Label*>(content->viewWithTag(kTagSecondLine))) second->setText("");
    return cell;
}

} // namespace kavo
