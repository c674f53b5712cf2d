#pragma once

namespace kavo::test {

// The sheets the client keeps for its whole run (a table's players' count, password, stake and
// chat; the settings, the feedback form, the card top-up) lay themselves out once, for the
// device of the test that first showed them. Called as a test starts: each is laid out again,
// for this test's device, when next shown.
void forgetKeptSheetLayouts();

} // namespace kavo::test
