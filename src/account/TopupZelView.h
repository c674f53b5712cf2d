#pragma once

#include "app/EscapeTarget.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "portal/model/ChargeMoneyInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The top-up panel: one row per top-up channel (SMS, scratch card, store product),
// laid over the top screen as a plain view on a dimming layer. A store row buys
// through the purchase helper; the receipt of that purchase, and only of that one,
// is sent to the server by this panel. Main thread only.
class TopupZelView : public platform::ui::View,
                     public EscapeTarget,
                     public platform::ui::TableViewDataSource,
                     public platform::ui::TableViewDelegate {
public:
    // `frame` is the full screen (480 x 320, 1024 x 768 on a tablet).
    explicit TopupZelView(platform::ui::Rect frame = {});
    ~TopupZelView() override;
    // Makes the panel and lays it out (the layout needs the panel's own pointer).
    static std::shared_ptr<TopupZelView> make(platform::ui::Rect frame);

    void setReceiptStringFromServer(const std::string& receipt) { receipt_ = receipt; }
    const std::string& receiptStringFromServer() const { return receipt_; }
    // The server's confirmation was acknowledged: the spinner goes. The confirmed
    // receipt left the pending list when the confirmation arrived.
    void completeRechargeWithApp();

    void set_listMoney(std::vector<std::shared_ptr<ChargeMoneyInfo>> list) { listMoney_ = std::move(list); }
    const std::vector<std::shared_ptr<ChargeMoneyInfo>>& listMoney() const { return listMoney_; }
    void forceReloadData();

    bool layOnOtherUIView() const { return layOnOtherUIView_; }
    void set_layOnOtherUIView(bool on) { layOnOtherUIView_ = on; }
    int selectedIndexForIAP() const { return selectedIndexForIAP_; }

    // The dimming layer's action: stop listening, give the back button back, go.
    void hideTopupView();
    // Escape closes the panel as its dimming layer does.
    EscapeAnswer closeItself() override;
    void selectRow(int row);

    const std::shared_ptr<platform::ui::TableView>& mainTableView() const { return mainTableView_; }
    const std::shared_ptr<platform::ui::View>& mainView() const { return mainView_; }

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    void setUIScreen();
    void fillCell(platform::ui::TableViewCell& cell, const ChargeMoneyInfo& channel);

    std::string receipt_;
    std::vector<std::shared_ptr<ChargeMoneyInfo>> listMoney_;
    int selectedIndexForIAP_ = -1;
    bool layOnOtherUIView_ = false;
    std::vector<platform::NotificationCenter::Token> observers_;
    std::shared_ptr<platform::ui::Button> btnBg_;
    std::shared_ptr<platform::ui::View> mainView_;
    std::shared_ptr<platform::ui::TableView> mainTableView_;
};

} // namespace kavo
