#pragma once

namespace kavo::test {

// The sheets the client keeps for its whole run (a table's players' count, password, stake and
// chat; the settings, the feedback form, the card top-up) lay themselves out once, for the
// device of the test that first showed them, and the board list's chat sheet keeps the lines
// typed into it. Called as a test starts: each is laid out again, for this test's device, when
// next shown, and the board list's chat starts with no lines.
void forgetKeptSheets();

} // namespace kavo::test
