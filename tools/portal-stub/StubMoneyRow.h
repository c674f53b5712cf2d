#pragma once

#include <string>

namespace portalstub {

// Whether the calling thread answers a row of the stub's table that moves money or
// ownership (a row marked movesMoney). The dispatch opens one around such a row's handler
// and nothing else does: the ledger and the profile refuse a change a request makes to a
// balance or to what someone owns outside one, and the log names it. A row that moves
// money without its mark is so refused the first time it is sent, and the mark is what the
// walk over the table's money rows meets. What no request pays for (a hand's result, a
// draw's win) is the ledger's own to move.
class StubMoneyRow {
public:
    StubMoneyRow();
    ~StubMoneyRow();
    StubMoneyRow(const StubMoneyRow&) = delete;
    StubMoneyRow& operator=(const StubMoneyRow&) = delete;

    // Whether `change` may be made now; false, with a line in the log naming it, when the
    // calling thread answers no row that moves money.
    static bool admits(const std::string& change);
};

} // namespace portalstub
