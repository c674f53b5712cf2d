#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "portal/model/Player.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class TextRowsSource;

// The leaderboards: the richest players, the strongest of each game and the same
// among friends. The ranking replies append to its lists while it is on top.
class LeaderboardView : public KavoViewController {
public:
    using Rows = std::vector<std::shared_ptr<Player>>;
    LeaderboardView();
    ~LeaderboardView() override;

    Rows& listTopRichests() { return listTopRichests_; }
    // The strongest players of a game type; nullptr for a type without a list.
    Rows* listTopForGame(int8_t gameType);
    Rows& listTopCaro() { return listTopCaro_; }
    Rows& listTopXiDzach() { return listTopXiDzach_; }
    Rows& listTopTLMN() { return listTopTLMN_; }
    Rows& listTopPoker() { return listTopPoker_; }
    Rows& listTopCoTuong() { return listTopCoTuong_; }
    Rows& listTopTetris() { return listTopTetris_; }
    Rows& listTopCoVua() { return listTopCoVua_; }
    Rows& listTopBaiCao() { return listTopBaiCao_; }
    Rows& listTopTLMB() { return listTopTLMB_; }
    Rows& listTopPhom() { return listTopPhom_; }
    Rows& listTopMauBinh() { return listTopMauBinh_; }
    Rows& listTopCaoRua() { return listTopCaoRua_; }
    Rows& listTopBauCua() { return listTopBauCua_; }
    Rows& listTopCoUp() { return listTopCoUp_; }
    void set_listTopRichestsBetweenFriend(Rows rows) { listTopRichestsBetweenFriend_ = std::move(rows); }
    const Rows& listTopRichestsBetweenFriend() const { return listTopRichestsBetweenFriend_; }
    void set_listTopPlayersBetweenFriends(Rows rows) { listTopPlayersBetweenFriends_ = std::move(rows); }
    const Rows& listTopPlayersBetweenFriends() const { return listTopPlayersBetweenFriends_; }

    // Reloads the table, hides the loading overlay and enables the controls.
    void forceReloadDataDanhSach();

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::TableView>& tblDanhSach() const { return tblDanhSach_; }

private:
    Rows listTopRichests_, listTopCaro_, listTopXiDzach_, listTopTLMN_, listTopPoker_, listTopCoTuong_, listTopTetris_,
        listTopCoVua_, listTopBaiCao_, listTopTLMB_, listTopPhom_, listTopMauBinh_, listTopCaoRua_, listTopBauCua_,
        listTopCoUp_;
    Rows listTopRichestsBetweenFriend_;
    Rows listTopPlayersBetweenFriends_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tblDanhSach_;
};

} // namespace kavo
