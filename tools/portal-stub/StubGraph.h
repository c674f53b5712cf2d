#pragma once

namespace portalstub {

class StubHttp;

// The social network's graph and REST interfaces as the stub plays them, on the
// stub's HTTP port: "me" answers the number of the stub token that asks
// ("stub-<n>" is user "<n>"), "me/permissions" a fixed list, the root a batch of
// those, "method/auth.extendSSOAccessToken" a new "stub-<n>" token a day long, and
// the app's attribution query and install post accept.
void installStubGraph(StubHttp& http);

} // namespace portalstub
