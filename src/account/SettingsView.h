#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TableView.h"
#include "portal/model/Setting.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kavo {

// The settings sheet that slides in over any screen: table settings (at a table only),
// information (guide, feedback, hotline, password change, log out) and the device switches
// (vibration, automatic invitations, sound). One shared instance; its texts are read
// again at each showing (refreshData names the rows). Main thread only.
class SettingsView : public CustomUIActionSheetViewController,
                     public platform::ui::TableViewDataSource,
                     public platform::ui::TableViewDelegate {
public:
    // Section ids.
    static constexpr int kSectionInfo = 0;
    static constexpr int kSectionDevice = 1;
    static constexpr int kSectionBoard = 2;
    // Row ids.
    static constexpr int kRowGuide = 0, kRowComment = 1, kRowCallHelp = 2, kRowTellFriend = 3, kRowLogout = 4,
                         kRowVibration = 5, kRowAutoInvite = 6, kRowSound = 7, kRowSetMoney = 9, kRowPlayerNumber = 10,
                         kRowSetPass = 11, kRowChangePassword = 12;
    // The tags of a row's icon, name and switch.
    static constexpr int kTagIcon = 10, kTagName = 11, kTagSwitch = 12;

    static const std::shared_ptr<SettingsView>& getInstance();
    SettingsView();
    ~SettingsView() override;

    // 2 at a table (table, information, device), anything else away from one (information,
    // device); then reloads.
    void refreshData(int mode);

    bool isSetMoney() const { return isSetMoney_; }
    void setIsSetMoney(bool on) { isSetMoney_ = on; }
    bool isSetPass() const { return isSetPass_; }
    void setIsSetPass(bool on) { isSetPass_ = on; }
    bool isSetPlayers() const { return isSetPlayers_; }
    void setIsSetPlayers(bool on) { isSetPlayers_ = on; }
    bool infoItems() const { return infoItems_; }
    void setInfoItems(bool on) { infoItems_ = on; }
    bool setupBoard() const { return setupBoard_; }
    void setSetupBoard(bool on) { setupBoard_ = on; }
    bool setupDevice() const { return setupDevice_; }
    void setSetupDevice(bool on) { setupDevice_ = on; }

    // The sections shown and the rows under each.
    const std::vector<Setting>& keys() const { return keys_; }
    const std::vector<Setting>& rowsOfSection(int sectionId) const;
    // The id of the row at a place in the table, or -1.
    int rowIdAt(const platform::ui::IndexPath& indexPath) const;

    void btnSound_Clicked(bool on);
    void btnVibration_Clicked(bool on);
    void btnInvite_Clicked(bool on);

    void viewDidLoad() override;
    const std::shared_ptr<platform::ui::TableView>& tblSetting() const { return tblSetting_; }

    int numberOfSections(platform::ui::TableView& table) override;
    int numberOfRows(platform::ui::TableView& table, int section) override;
    std::shared_ptr<platform::ui::TableViewCell> cellForRow(platform::ui::TableView& table,
                                                            const platform::ui::IndexPath& indexPath) override;
    double heightForRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;
    double heightForHeader(platform::ui::TableView& table, int section) override;
    platform::ui::ViewPtr viewForHeader(platform::ui::TableView& table, int section) override;
    std::optional<platform::ui::IndexPath> willSelectRow(platform::ui::TableView& table,
                                                         const platform::ui::IndexPath& indexPath) override;
    void didSelectRow(platform::ui::TableView& table, const platform::ui::IndexPath& indexPath) override;

private:
    // Names the sections and rows in the language in force.
    void nameRows();
    const Setting* settingOf(int id) const;
    // Whether a table row's flag lets the player use it (other rows: always).
    bool rowEnabled(int id) const;

    std::vector<Setting> allSettingKeys_;
    std::vector<Setting> allSettingValues_;
    std::vector<Setting> keys_;
    std::map<int, std::vector<Setting>> names_;
    bool isSetMoney_ = false;
    bool isSetPass_ = false;
    bool isSetPlayers_ = false;
    bool infoItems_ = false;
    bool setupBoard_ = false;
    bool setupDevice_ = false;
    std::shared_ptr<platform::ui::TableView> tblSetting_;
};

} // namespace kavo
