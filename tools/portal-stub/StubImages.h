#pragma once

#include <map>
#include <string>

namespace portalstub {

class StubHttp;

// Pictures as a content-delivery host would serve them: "/img/1.png" to "/img/3.png"
// (small solid squares, "image/png"), and "/img/latest", a redirect to one of them.
std::map<std::string, std::string> stubImagePages();
void installStubImages(StubHttp& http);

} // namespace portalstub
