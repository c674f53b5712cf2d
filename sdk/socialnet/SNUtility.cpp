#include "sdk/socialnet/SNUtility.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/PropertyList.h"
#include "platform/ui/TableView.h"
#include "platform/ui/View.h"
#include "sdk/socialnet/SNGraphObject.h"
#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNUtf8.h"

#include <chrono>
#include <cmath>
#include <mutex>
#include <random>

namespace socialnet {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool passesUnescaped(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

} // namespace

SNDictionaryPtr SNUtility::dictionaryByParsingURLQueryPart(std::string_view query) {
    auto result = SNDictionary::make();
    size_t start = 0;
    while (start <= query.size()) {
        size_t amp = query.find('&', start);
        if (amp == std::string_view::npos) amp = query.size();
        std::string_view piece = query.substr(start, amp - start);
        start = amp + 1;
        if (piece.empty()) continue;
        size_t eq = piece.find('=');
        std::string_view name = eq == std::string_view::npos ? piece : piece.substr(0, eq);
        std::string_view value = eq == std::string_view::npos ? std::string_view() : piece.substr(eq + 1);
        auto decodedName = stringByURLDecodingString(name);
        auto decodedValue = stringByURLDecodingString(value);
        if (decodedName && decodedValue) result->setObject(SNValue(*decodedValue), SNValue(*decodedName));
    }
    return result;
}

std::optional<std::string> SNUtility::stringByURLDecodingString(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            bytes.push_back(' ');
        } else if (c == '%') {
            int hi = i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
            int lo = i + 2 < text.size() ? hexDigit(text[i + 2]) : -1;
            if (hi < 0 || lo < 0) return std::nullopt;
            bytes.push_back(char(hi * 16 + lo));
            i += 2;
        } else {
            bytes.push_back(c);
        }
    }
    if (!isValidUtf8(bytes)) return std::nullopt;
    return bytes;
}

std::string SNUtility::stringByURLEncodingString(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (passesUnescaped(c)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        }
    }
    return out;
}

uint32_t SNUtility::millisecondsFromWallClock(int64_t seconds, int64_t microseconds) {
    return uint32_t(uint64_t(seconds) * 1000u + uint64_t(microseconds / 1000));
}

uint32_t SNUtility::currentTimeInMilliseconds() {
    auto since = std::chrono::system_clock::now().time_since_epoch();
    auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    auto micros = std::chrono::duration_cast<std::chrono::microseconds>(since - seconds);
    return millisecondsFromWallClock(seconds.count(), micros.count());
}

double SNUtility::randomTimeIntervalFor(double minValue, double maxValue, uint32_t r) {
    return minValue + (maxValue - minValue) * double(r) / 4294967295.0;
}

double SNUtility::randomTimeInterval(double minValue, double maxValue) {
    static std::mutex mutex;
    static std::mt19937 generator{std::random_device{}()};
    std::lock_guard lock(mutex);
    return randomTimeIntervalFor(minValue, maxValue, uint32_t(generator()));
}

SNValue SNUtility::graphObjectInArray(const SNArrayPtr& array, const SNDictionaryPtr& sameIdAs) {
    if (!array) return {};
    for (auto& element : array->allObjects())
        if (SNGraphObject::isGraphObjectID(element.dictionary(), sameIdAs)) return element;
    return {};
}

std::string SNUtility::stringSNIDFromObject(const SNValue& object) {
    if (object.isDictionary()) {
        auto id = object.dictionary()->objectForKey("id");
        if (id.isString()) return id.string();
    }
    return object.description();
}

void SNUtility::centerView(platform::ui::View* view, platform::ui::TableView* tableView) {
    if (!view) return;
    platform::ui::Rect bounds = tableView ? tableView->bounds() : platform::ui::Rect{};
    double rowHeight = tableView ? tableView->rowHeight() : 0;
    // A table without row height (or no table) has no middle row.
    long rows = rowHeight > 0 ? long(std::floor(bounds.size.height / rowHeight)) / 2 : 0;
    platform::ui::Point middle{bounds.origin.x + bounds.size.width / 2, rowHeight * double(rows) + rowHeight * 0.5};
    if (!view->superview()) {
        view->setCenter({0, 0});
        return;
    }
    view->setCenter(tableView ? tableView->convertPoint(middle, view->superview()) : middle);
}

std::optional<std::string> SNUtility::socialnetSDKBundle() {
    static std::once_flag once;
    static std::optional<std::string> bundle;
    std::call_once(once, [] {
        std::string path = platform::Bundle::main().pathForResource("SocialNetSDKResources", "bundle");
        if (!path.empty()) bundle = path;
    });
    return bundle;
}

std::string SNUtility::localizedStringForKey(const std::string& key, const std::string& defaultText) {
    return localizedStringForKey(key, defaultText, socialnetSDKBundle());
}

std::string SNUtility::localizedStringForKey(const std::string& key, const std::string& defaultText,
                                             const std::optional<std::string>& bundle) {
    if (!bundle) return defaultText;
    auto table = platform::PropertyList::readFile(*bundle + "/Localizable.plist");
    auto& text = table.get(key);
    return text.isString() ? text.stringValue() : defaultText;
}

} // namespace socialnet
