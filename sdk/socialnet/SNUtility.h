#pragma once

#include "sdk/socialnet/json/SNValue.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {
class View;
class TableView;
} // namespace platform::ui

namespace socialnet {

// Helpers shared across the library: query parsing and URL escapes, a millisecond
// clock for timing entries, graph-object ids, the library's own texts and a table
// view helper. No state but the resource bundle's place, looked up once.
class SNUtility {
public:
    // "a=1&b=&c" -> {a: "1", b: "", c: ""}; a piece whose name or value does not
    // decode is left out.
    static SNDictionaryPtr dictionaryByParsingURLQueryPart(std::string_view query);
    // "+" is a blank, "%XX" a byte; nullopt when an escape is not two hexadecimal
    // digits or the bytes are not UTF-8.
    static std::optional<std::string> stringByURLDecodingString(std::string_view text);
    // Escapes every byte but ASCII letters, digits, "-", ".", "_" and "~" as "%XX".
    static std::string stringByURLEncodingString(std::string_view text);

    // Wall-clock milliseconds kept in 32 bits: it wraps, only differences count.
    static uint32_t currentTimeInMilliseconds();
    static uint32_t millisecondsFromWallClock(int64_t seconds, int64_t microseconds);
    // min + (max - min) * r / 4294967295 for a random 32-bit r: both ends reachable.
    static double randomTimeInterval(double minValue, double maxValue);
    static double randomTimeIntervalFor(double minValue, double maxValue, uint32_t r);

    // The first element whose graph id matches the object's, or null.
    static SNValue graphObjectInArray(const SNArrayPtr& array, const SNDictionaryPtr& sameIdAs);
    // A dictionary's string "id", otherwise the object's description.
    static std::string stringSNIDFromObject(const SNValue& object);

    // Centres the view (in its parent's coordinates) on the middle row of the table's
    // visible height.
    static void centerView(platform::ui::View* view, platform::ui::TableView* tableView);

    // The folder "SocialNetSDKResources.bundle" of the main bundle, or nullopt.
    static std::optional<std::string> socialnetSDKBundle();
    static std::string localizedStringForKey(const std::string& key, const std::string& defaultText);
    // The text under the key in the bundle's "Localizable.plist", else the default.
    static std::string localizedStringForKey(const std::string& key, const std::string& defaultText,
                                             const std::optional<std::string>& bundle);
};

} // namespace socialnet
