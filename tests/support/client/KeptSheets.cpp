#include "tests/support/client/KeptSheets.h"

#include "account/SettingsView.h"
#include "account/TopupZelByCardView.h"
#include "platform/ui/View.h"
#include "social/SendAdminView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuSoNguoi.h"

#include <initializer_list>

namespace kavo::test {

void forgetKeptSheets() {
    for (platform::ui::ViewController* sheet : std::initializer_list<platform::ui::ViewController*>{
             menuSoNguoi::getInstance().get(), menuPassword::getInstance().get(), menuCuoc::getInstance().get(),
             boardChat::getInstance().get(), SettingsView::getInstance().get(), SendAdminView::getInstance().get()}) {
        if (!sheet->isViewLoaded()) continue;
        sheet->view()->removeFromSuperview();
        sheet->setView(nullptr);
    }
    // Lines an earlier test typed over its board list would be read as this test's.
    boardChat::getInstance()->setHistoryChat({});
    TopupZelByCardView::resetForTesting();
}

} // namespace kavo::test
