#include "tools/portal-stub/StubMoneyRow.h"

#include "platform/runtime/Log.h"

namespace portalstub {

namespace {

// The rows that move money the calling thread answers now (a handler answers on the thread
// that dispatched it).
thread_local int openRows = 0;

} // namespace

StubMoneyRow::StubMoneyRow() {
    ++openRows;
}

StubMoneyRow::~StubMoneyRow() {
    --openRows;
}

bool StubMoneyRow::admits(const std::string& change) {
    if (openRows > 0) return true;
    platform::log("portal-stub: " + change + " outside a row that moves money is refused");
    return false;
}

} // namespace portalstub
