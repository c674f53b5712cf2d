#pragma once

#include "app/CustomUIActionSheetViewController.h"
#include "platform/ui/TableView.h"

#include <memory>
#include <string>
#include <vector>

namespace kavo {

class TextRowsSource;

// The settings sheet: sound, vibration, invitations, the guide and, at a table, the
// owner's board settings. Its rows ask the screen underneath to open the panels.
class SettingsView : public CustomUIActionSheetViewController {
public:
    static const std::shared_ptr<SettingsView>& getInstance();
    SettingsView();
    ~SettingsView() override;

    bool isSetPlayers() const { return isSetPlayers_; }
    void setIsSetPlayers(bool on) { isSetPlayers_ = on; }
    // Whether the table rows offer the stake and the password (the owner's rights).
    bool isSetMoney() const { return isSetMoney_; }
    void setIsSetMoney(bool on) { isSetMoney_ = on; }
    bool isSetPass() const { return isSetPass_; }
    void setIsSetPass(bool on) { isSetPass_ = on; }
    // Rebuilds the rows: 2 at a table (an extra first section with the bet, the
    // player count and the password), 0 elsewhere; then reloads.
    void refreshData(int mode);
    // The rows by section (their texts in the language in force).
    const std::vector<std::vector<std::string>>& sections() const { return sections_; }

    void viewDidLoad() override;
    void btnClose_Clicked() { slideOut(); }
    const std::shared_ptr<platform::ui::TableView>& tblSetting() const { return tblSetting_; }
    // A tap on a row: the table section asks the screen underneath to open its sheet;
    // the others open the guide, flip a switch, or open the password or feedback sheet.
    void selectRow(int section, int row);

private:
    bool isSetPlayers_ = false;
    bool isSetMoney_ = false;
    bool isSetPass_ = false;
    int mode_ = 0;
    std::vector<std::vector<std::string>> sections_;
    std::shared_ptr<TextRowsSource> rows_;
    std::shared_ptr<platform::ui::TableView> tblSetting_;
};

} // namespace kavo
