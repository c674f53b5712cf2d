#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kavo {

// The player information sheet: avatar, name, money, level and the match counts.
// The avatar is chosen before the details are asked (setAva), since the reply does
// not carry it. Main thread only.
class PlayerInfo : public CustomUIActionSheetViewController {
public:
    PlayerInfo();

    static void setAva(int16_t avatarId);
    static int16_t ava();

    void viewDidLoad() override;
    void loadInfoWithName(const std::string& name, int64_t money, int level, int win, int lose, int giveup);
    // Does nothing: the sheet has no friend action of its own.
    void doAddFriend() {}

    const std::shared_ptr<platform::ui::Label>& lblName() const { return lblName_; }
    const std::shared_ptr<platform::ui::Label>& lblMoney() const { return lblMoney_; }
    const std::shared_ptr<platform::ui::Label>& lblLevel() const { return lblLevel_; }
    const std::shared_ptr<platform::ui::Label>& lblWin() const { return lblWin_; }
    const std::shared_ptr<platform::ui::Label>& lblLose() const { return lblLose_; }
    const std::shared_ptr<platform::ui::Label>& lblGiveup() const { return lblGiveup_; }
    const std::shared_ptr<platform::ui::ImageView>& imgAvatar() const { return imgAvatar_; }

private:
    std::shared_ptr<platform::ui::Label> lblName_, lblMoney_, lblLevel_, lblWin_, lblLose_, lblGiveup_;
    std::shared_ptr<platform::ui::ImageView> imgAvatar_;
};

} // namespace kavo
