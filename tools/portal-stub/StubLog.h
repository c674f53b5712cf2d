#pragma once

namespace portalstub {

// Makes every line the stub logs from now on go out with its control characters (a
// line break, a NUL, an escape) and its backslashes escaped, so that a name or a text
// from the wire never forges or cuts a line of the log.
void installStubLog();

} // namespace portalstub
