#include "account/TopupZelView.h"

#include "account/KavoIAPHelper.h"
#include "account/ShopWidgets.h"
#include "account/TopupActions.h"
#include "account/TopupZelByCardView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/foundation/TextFormat.h"

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr const char* kCellIdentifier = "CellMoney";
constexpr int kTitleTag = 1;
constexpr int kIconTag = 2;
constexpr int kDescriptionTag = 3;

// A phone frame and its tablet twin: this panel has a frame of its own for each device.
ui::Rect pick(ui::Rect phone, ui::Rect tablet) {
    return Util::isPad() ? tablet : phone;
}

struct CardIcon {
    const char* name;
    const char* image;
    ui::Rect frame;
};
const CardIcon kCardIcons[] = {
    {"Thẻ gate", "i_img_CardGate.png", {9, 9, 55, 20}},
    {"Thẻ viettel", "i_img_CardViettel.png", {14, 6, 45, 25}},
    {"Thẻ vina", "i_img_CardVinaphone.png", {8, 6, 56, 25}},
    {"Thẻ Mobifone", "i_img_CardMobifone.png", {8, 8, 56, 21}},
};

} // namespace

TopupZelView::TopupZelView(ui::Rect frame) : ui::View(frame) {
    setAccessibilityIdentifier("TopupZelView");
}

TopupZelView::~TopupZelView() {
    TopupActions::stopObserving(observers_);
    KavoIAPHelper::sharedHelper().forgetBuyer(this);
}

std::shared_ptr<TopupZelView> TopupZelView::make(ui::Rect frame) {
    auto panel = std::make_shared<TopupZelView>(frame);
    KavoOnlineAppDelegate::getInstance().setBackButtonHidden(true);
    panel->setUIScreen();
    std::weak_ptr<TopupZelView> weak = panel;
    panel->observers_ = TopupActions::observe(panel.get(), {[weak](const platform::Notification& note) {
                                                                auto self = weak.lock();
                                                                if (!self) return;
                                                                TopupActions::sendReceipt(
                                                                    self->listMoney_, self->selectedIndexForIAP_, note);
                                                                Util::hideLoadingOnView(self);
                                                            },
                                                            [weak](const platform::Notification& note) {
                                                                auto self = weak.lock();
                                                                if (!self) return;
                                                                TopupActions::showFailure(note);
                                                                Util::hideLoadingOnView(self);
                                                            },
                                                            [weak] {
                                                                if (auto self = weak.lock())
                                                                    Util::hideLoadingOnView(self);
                                                            }});
    return panel;
}

void TopupZelView::setUIScreen() {
    btnBg_ = shopui::dimmingButton(bounds(), "hideTopupView", [this] { hideTopupView(); });
    addSubview(btnBg_);
    mainView_ = ui::View::make(pick({31, 32, 418, 257}, {66, 76, 891, 616}));
    mainView_->setAccessibilityIdentifier("mainView");
    mainView_->addSubview(shopui::image(mainView_->bounds(), "i_img_ServerTopupZelFree_Background.png"));
    const bool vietnamese = Resources::getInstance().currentLanguage() == "vi";
    mainView_->addSubview(shopui::image(pick({189, 9, 40, 10}, {402, 21, 85, 24}),
                                        vietnamese ? "i_text_NapZel.png" : "i_text_NapZel_en.png"));
    mainTableView_ = ui::TableView::make(pick({20, 27, 383, 210}, {42, 64, 816, 513}));
    mainTableView_->setAccessibilityIdentifier("mainTableView");
    mainTableView_->setBackgroundColor(ui::Color::clear());
    mainTableView_->setSeparatorStyle(ui::TableViewCellSeparatorStyle::None);
    mainTableView_->setBounces(true);
    mainTableView_->setRowHeight(Util::isPad() ? 98 : 41);
    mainTableView_->setDataSource(this);
    mainTableView_->setDelegate(this);
    mainView_->addSubview(mainTableView_);
    addSubview(mainView_);
}

void TopupZelView::forceReloadData() {
    mainTableView_->reloadData();
}

void TopupZelView::completeRechargeWithApp() {
    Util::hideLoadingOnView(shared_from_this());
}

void TopupZelView::hideTopupView() {
    TopupActions::stopObserving(observers_);
    if (!layOnOtherUIView_) KavoOnlineAppDelegate::getInstance().restoreBackButton();
    auto keep = shared_from_this();
    btnBg_->removeFromSuperview();
    removeFromSuperview();
}

EscapeAnswer TopupZelView::closeItself() {
    hideTopupView();
    return EscapeAnswer::closed;
}

int TopupZelView::numberOfRows(ui::TableView&, int) {
    return int(listMoney_.size());
}

std::shared_ptr<ui::TableViewCell> TopupZelView::cellForRow(ui::TableView& table, const ui::IndexPath& indexPath) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = ui::TableViewCell::make(ui::TableViewCellStyle::Default, kCellIdentifier);
        cell->setBackgroundColor(ui::Color::clear());
        auto& content = *cell->contentView();
        content.addSubview(shopui::image(pick({0, 0, 72, 37}, {0, 0, 153, 88}), "i_img_TopupZel_BackgroundTab.png"));
        auto title =
            shopui::label(pick({80, 0, 303, 24}, {170, 0, 645, 50}), "", 12 * Util::iPad(), ui::Color::white());
        title->setTag(kTitleTag);
        content.addSubview(title);
        auto icon = ui::ImageView::make();
        icon->setTag(kIconTag);
        content.addSubview(icon);
        auto description =
            shopui::label(pick({80, 16, 303, 21}, {170, 38, 645, 50}), "", Util::isPad() ? 16 : 8, ui::Color::white());
        description->setTag(kDescriptionTag);
        content.addSubview(description);
        content.addSubview(shopui::image(pick({0, 40, 383, 4}, {0, 90, 816, 8}), "i_line_server_list.png"));
    }
    const size_t row = size_t(indexPath.row);
    if (row < listMoney_.size() && listMoney_[row]) fillCell(*cell, *listMoney_[row]);
    return cell;
}

void TopupZelView::fillCell(ui::TableViewCell& cell, const ChargeMoneyInfo& channel) {
    auto* title = dynamic_cast<ui::Label*>(cell.contentView()->viewWithTag(kTitleTag));
    auto* icon = dynamic_cast<ui::ImageView*>(cell.contentView()->viewWithTag(kIconTag));
    auto* description = dynamic_cast<ui::Label*>(cell.contentView()->viewWithTag(kDescriptionTag));
    if (!title || !icon || !description) return;
    title->setText(channel.info());
    title->setFrame(pick({80, 0, 303, 24}, {170, 0, 645, 50}));
    icon->setImage(nullptr);
    description->setText("");
    const ui::Rect tabletIcon{17, 19, 119, 50};
    switch (channel.type()) {
    case TopupActions::kStore:
        title->setFrame(pick({80, 12, 303, 24}, {170, 30, 645, 50}));
        icon->setImage(Util::getImageWithName("i_text_IAP.png"));
        icon->setFrame(pick({14, 8, 45, 22}, tabletIcon));
        break;
    case TopupActions::kCard:
        description->setText(kavo::text("KAVO_NapZel_CardDescription"));
        for (const auto& card : kCardIcons) {
            if (channel.info() != card.name) continue;
            icon->setImage(Util::getImageWithName(card.image));
            icon->setFrame(pick(card.frame, tabletIcon));
        }
        break;
    case TopupActions::kSms:
        icon->setImage(Util::getImageWithName("i_text_SMS.png"));
        icon->setFrame(pick({14, 8, 45, 22}, tabletIcon));
        description->setText(
            platform::formatText(kavo::text("KAVO_NapZel_SMSDescription"),
                                 {channel.smsContent(), UIController::myInfo()->name(), channel.smsTo()}));
        break;
    default:
        break;
    }
}

void TopupZelView::didSelectRow(ui::TableView&, const ui::IndexPath& indexPath) {
    selectRow(indexPath.row);
}

void TopupZelView::selectRow(int row) {
    if (row < 0 || size_t(row) >= listMoney_.size() || !listMoney_[size_t(row)]) return;
    const auto& channel = listMoney_[size_t(row)];
    switch (channel->type()) {
    case TopupActions::kSms:
        TopupActions::sendSms(*channel);
        break;
    case TopupActions::kCard: {
        auto form = TopupZelByCardView::make(Util::changeRectFromRect({0, 0, 480, 320}));
        form->set_selectedChargeMoneyInfo(channel);
        addSubview(form);
        break;
    }
    case TopupActions::kStore:
        selectedIndexForIAP_ = row;
        TopupActions::buyInApp(*channel, this);
        Util::showLoadingOnView(shared_from_this());
        break;
    default:
        break;
    }
}

} // namespace kavo
