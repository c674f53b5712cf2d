#pragma once

#include "app/KavoViewController.h"
#include "platform/ui/TableView.h"

#include <string>

namespace kavo {

// The base of the profile's tab screens: a screen whose view lies inside the profile's
// content area, so it carries no mailbox badge of its own.
class ProfileTab : public KavoViewController {
public:
    explicit ProfileTab(const std::string& nibName) : KavoViewController(nibName) {}
    void viewDidLoad() override;

protected:
    // A clear table over the whole tab, without separators.
    std::shared_ptr<platform::ui::TableView> addTable(platform::ui::TableViewDataSource& source,
                                                      platform::ui::TableViewDelegate& delegate, double rowHeight);
};

} // namespace kavo
