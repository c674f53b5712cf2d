#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace portalstub {

class StubHttp;

// Pictures as a content-delivery host would serve them: "/img/1.png" to "/img/3.png"
// (small solid squares, "image/png"), and "/img/latest", a redirect to one of them.
std::map<std::string, std::string> stubImagePages();
// The picture of the avatar or item `id` as the game server sends it (38, 79): a small
// square of a colour of its own, so that a player tells one avatar from another.
std::string pictureOf(int32_t id);
void installStubImages(StubHttp& http);

} // namespace portalstub
