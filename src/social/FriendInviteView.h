#pragma once

#include "app/EscapeTarget.h"
#include "app/KavoViewController.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/KavoMessage.h"

#include <memory>

namespace kavo {

// The friend invitations waiting in the mailbox, each with accept and refuse, and
// both for all at once. Laid over the messages screen, which keeps one. A request
// leaves at once and the invitation leaves the mailbox without waiting for a reply; the
// stored mailbox is saved without it (the messages screen took the invitations out of the
// list unsaved), so that an answered invitation is not listed again at the next sign-in.
// Row buttons carry their row in the tag (accept row + 10000, refuse row + 20000);
// a tag whose row is gone sends nothing. Main thread only.
class FriendInviteView : public KavoViewController,
                         public EscapeTarget,
                         public platform::ui::TableViewDataSource,
                         public platform::ui::TableViewDelegate {
public:
    static constexpr int kAcceptTag = 10000;
    static constexpr int kRefuseTag = 20000;
    static constexpr int8_t kAccept = 2;
    static constexpr int8_t kRefuse = 3;

    FriendInviteView();
    ~FriendInviteView() override;

    // The invitations shown, in mailbox order.
    const KavoMessageList& _arrLoiMoi() const { return arrLoiMoi_; }

    void viewDidLoad() override;
    // The list anew from the mailbox.
    void viewDidAppear(bool animated) override;
    void btnAccept_Clicked(int tag);
    void btnDelete_Clicked(int tag);
    void btnChapNhatTatCa_Clicked();
    void btnXoaTatCa_Clicked();
    void doCloseThisView();
    // Escape closes the page as its close button does.
    EscapeAnswer closeItself() override {
        doCloseThisView();
        return EscapeAnswer::closed;
    }
    // Reloads the table and hides the loading indicator.
    void forceReloadData();

    const std::shared_ptr<platform::ui::TableView>& mainTableView() const { return mainTableView_; }

    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    void setUIScreen();
    // Sends the answer for the invitation of that row and drops it from the mailbox.
    void answer(int row, int8_t type);
    // Every invitation shown, in order.
    void answerAll(int8_t type);
    void reloadLater();

    KavoMessageList arrLoiMoi_;
    bool isAdded_ = false;
    std::shared_ptr<platform::ui::Label> lblTitleLoiMoiKetBan_;
    std::shared_ptr<platform::ui::Button> btnChapNhatTatCa_, btnXoaTatCa_, btnClose_;
    std::shared_ptr<platform::ui::TableView> mainTableView_;
};

} // namespace kavo
