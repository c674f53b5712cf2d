#pragma once

namespace portalstub {

// Makes every line the stub logs from now on go out with its control characters (a
// line break, a NUL, an escape, U+0085), its line and paragraph separators (U+2028,
// U+2029) and its backslashes escaped, so that a name or a text from the wire never
// forges or cuts a line of the log.
void installStubLog();

} // namespace portalstub
