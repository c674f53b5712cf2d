#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavo {

// Names of the bundle files the client reads.
inline constexpr std::string_view kConfigName = "KavoOnlineConfig"; // .plist
inline constexpr std::string_view kEmoticonTableName = "emotions";  // .plist
inline constexpr std::string_view kSoundFolder = "sounds";
// Shown while a picture from the server is awaited.
inline constexpr std::string_view kPlaceholderAvatar = "av0.png";

inline constexpr int kCardPictureCount = 52;
inline constexpr int kCaroClockPictureCount = 30;

// Card n (0 to 51) is "n.png", except card 0, which is "100.png".
std::vector<std::string> cardPictureNames();
// "caro-0.png" to "caro-29.png".
std::vector<std::string> caroClockPictureNames();

} // namespace kavo
