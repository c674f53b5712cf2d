#include "app/Util.h"

#include "app/Resources.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "platform/foundation/DateFormat.h"
#include "platform/foundation/HttpClient.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/NumberFormat.h"
#include "platform/foundation/Text.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/Device.h"
#include "platform/services/LocalNotifications.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Screen.h"
#include "table/registry/GameRecords.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

namespace kavo {

namespace ui = platform::ui;

namespace {

constexpr std::string_view kFullDateTime = "HH:mm:ss dd/MM/yyyy";
constexpr std::string_view kDayMonthYear = "dd/MM/yyyy";

// The phone coordinate times the tablet factor, worked out in double precision and
// kept as a 32-bit float, as the layouts were measured.
double scaled(double value, float factor) {
    return double(float(double(float(value)) * double(factor)));
}

// Machines too slow for the heavier animations.
constexpr std::array<std::string_view, 7> kSlowMachines{"iPod1,1",   "iPod2,1",   "iPod3,1",  "iPod4,1",
                                                        "iPhone1,1", "iPhone1,2", "iPhone2,1"};

} // namespace

// ---- Geometry

bool Util::isPad() {
    return ui::Screen::isTablet();
}
float Util::iPad() {
    return isPad() ? 2.0f : 1.0f;
}
float Util::iPadX() {
    return isPad() ? 2.13f : 1.0f;
}
float Util::iPadY() {
    return isPad() ? 2.4f : 1.0f;
}
float Util::iOSKeyboardHeight() {
    return isPad() ? 352.0f : 162.0f;
}

ui::Point Util::changePointFromPoint(ui::Point point) {
    if (!isPad()) return point;
    return {scaled(point.x, iPadX()), scaled(point.y, iPadY())};
}

ui::Size Util::changeSizeFromSize(ui::Size size) {
    if (!isPad()) return size;
    return {scaled(size.width, iPadX()), scaled(size.height, iPadY())};
}

ui::Rect Util::changeRectFromRect(ui::Rect rect) {
    if (!isPad()) return rect;
    return {changePointFromPoint(rect.origin), changeSizeFromSize(rect.size)};
}

ui::Rect scaled(ui::Rect phoneRect) {
    return Util::changeRectFromRect(phoneRect);
}

double Util::convertiPhoneWidthToIpad(double width) {
    return width * 2;
}
double Util::convertiPhoneHeightToIpad(double height) {
    return height * 2;
}

ui::Rect Util::convertRectFromrect(ui::Rect rect) {
    if (!isPad()) return rect;
    return {convertiPhoneWidthToIpad(rect.x()), convertiPhoneHeightToIpad(rect.y()),
            convertiPhoneWidthToIpad(rect.width()), convertiPhoneHeightToIpad(rect.height())};
}

ui::Size Util::convertSizeFromSize(ui::Size size) {
    if (!isPad()) return size;
    return {convertiPhoneWidthToIpad(size.width), convertiPhoneHeightToIpad(size.height)};
}

bool Util::hasRetinaDisplay() {
    return ui::Screen::scale() == 2.0;
}

// ---- Texts of numbers, times and dates

std::string Util::formatNumber(int64_t number) {
    return platform::formatGroupedInteger(number, Resources::getInstance().currentLanguage() == "vi" ? "." : ",");
}

std::string Util::formatSignedNumber(int64_t number) {
    return number > 0 ? "+" + formatNumber(number) : formatNumber(number);
}

std::string Util::convertIntToQuotaTime(int seconds) {
    return platform::formatText("%02d:%02d", {seconds / 60, seconds % 60});
}

std::string Util::getDateWithLong(int64_t milliseconds) {
    return platform::formatDate(getDateWithLongNumber(milliseconds), kFullDateTime);
}

double Util::getDateWithLongNumber(int64_t milliseconds) {
    return double(milliseconds / 1000);
}

std::string Util::getCurrentTimeWithFullDateTime() {
    return platform::formatDate(platform::currentDate(), kFullDateTime);
}

std::string Util::getCurrentTimeWithHourAndMinute() {
    return platform::formatShortTime(platform::currentDate());
}

std::string Util::getDayMonth() {
    return platform::formatShortTime(platform::currentDate());
}

std::string Util::getDateStringWithFormat(std::string_view pattern) {
    return platform::formatDate(platform::currentDate(), pattern);
}

std::string Util::getDateString(double date) {
    return platform::formatDate(date, kDayMonthYear);
}

std::string Util::getDateStringWithDay(int day, int month, int year) {
    std::optional<double> date = getDateFromString(day, month, year);
    return date ? getDateString(*date) : std::string();
}

std::optional<double> Util::getDateFromString(int day, int month, int year) {
    return platform::parseDate(platform::formatText("%02d/%02d/%04d", {day, month, year}), kDayMonthYear);
}

std::string Util::compareWithCurrentDate(double date) {
    return compareWithDate(date, platform::currentDate());
}

std::string Util::compareWithDate(double date, double now) {
    platform::DateComponents ago = platform::calendarDifference(date, now);
    auto about = [](int count, std::string_view unitKey) {
        return platform::formatText("%@ %d %@", {text("KAVO_Time_About"), count, text(unitKey)});
    };
    std::string result;
    if (ago.years >= 1)
        result = about(ago.years, "KAVO_Time_Year");
    else if (ago.months >= 1)
        result = about(ago.months, "KAVO_Time_Month");
    else if (ago.days >= 1)
        result = ago.days == 1 ? text("KAVO_Time_Yesterday") : about(ago.days, "KAVO_Time_Day");
    else if (ago.hours >= 1)
        result = about(ago.hours, "KAVO_Time_Hour");
    else if (ago.minutes >= 1)
        result = about(ago.minutes, "KAVO_Time_Minute");
    else if (ago.seconds >= 1)
        result = about(ago.seconds, "KAVO_Time_Second");
    return platform::toLower(result);
}

std::string Util::formatStatusOnlineWithRoomId(int roomId, int boardId, int gameType) {
    const GameRecord* game = gameRecord(gameType);
    if (!game || !game->namedInStatus) return {};
    return platform::formatText("%@ %d, %@ %d, %@",
                                {text("KAVO_WhatRoom"), roomId, text("KAVO_WhatBoard"), boardId, text(game->titleKey)});
}

// ---- Device and network

std::string Util::getNetworkType() {
    return platform::Device::networkType();
}

bool Util::connectedToInternet() {
    return connectedToInternetAt(Resources::getInstance().configString("LinkServer"));
}

namespace {

std::optional<platform::HttpRequest> probeRequest(const std::string& url, double timeout) {
    if (url.empty()) {
        platform::log("connectedToInternet: no server-list address configured");
        return std::nullopt;
    }
    platform::HttpRequest request = platform::HttpRequest::get(url);
    request.connectTimeout = timeout;
    request.totalTimeout = timeout;
    return request;
}

// Logs a failed probe and tells the player on the main thread, whichever thread asked.
bool probeAnswered(const std::string& url, const platform::HttpResponse& response) {
    if (response.ok()) return true;
    platform::log("connectedToInternet: " + url + " gave " + std::to_string(response.status) + " " + response.error);
    return false;
}

void tellNoConnection() {
    platform::runOnMainThread([] { UIController::showNotice(text("KAVO_connectFail")); });
}

} // namespace

bool Util::connectedToInternetAt(const std::string& url) {
    const auto request = probeRequest(url, kConnectivityProbeTimeout);
    if (request && probeAnswered(url, platform::HttpClient::perform(*request))) return true;
    tellNoConnection();
    return false;
}

void Util::connectedToInternetAsyncAt(const std::string& url, double timeout, std::function<void(bool)> completion) {
    auto request = probeRequest(url, timeout);
    if (!request) {
        tellNoConnection();
        platform::runOnMainThread([completion = std::move(completion)] {
            if (completion) completion(false);
        });
        return;
    }
    platform::HttpClient::performAsync(
        std::move(*request), [url, completion = std::move(completion)](const platform::HttpResponse& response) {
            // Already on the main thread: the notice is posted behind this completion.
            const bool connected = probeAnswered(url, response);
            if (!connected) tellNoConnection();
            if (completion) completion(connected);
        });
}

void Util::callRung() {
    if (UIController::rung()) platform::SystemSound::play(platform::SystemSound::kVibrate);
}

std::string Util::getDeviceType() {
    std::string machine = platform::Device::machine();
    platform::log("device " + machine);
    return machine;
}

std::string Util::getDeviceName() {
    return platform::Device::model();
}

bool Util::isDeviceWithHighPerformanceCPU() {
    std::string machine = platform::Device::machine();
    return std::find(kSlowMachines.begin(), kSlowMachines.end(), machine) == kSlowMachines.end();
}

double Util::getBatteryLevel() {
    return platform::Device::batteryLevel();
}

int64_t Util::get_free_memory() {
    int64_t bytes = platform::Device::freeMemory();
    if (bytes <= 0) {
        platform::log("Failed to fetch vm statistics");
        return 0;
    }
    platform::log(platform::formatText("----- Memory Free: %dMb -----", {bytes >> 20}));
    return bytes;
}

void Util::setNotificationToUser() {
    double now = platform::currentDate();
    std::string today = platform::formatDate(now, kDayMonthYear);
    std::optional<double> noon = platform::parseDate(today + " 12:07:00", "dd/MM/yyyy HH:mm:ss");
    platform::LocalNotification notification;
    notification.fireDate = noon.value_or(now);
    notification.repeatInterval = platform::RepeatInterval::Weekday;
    notification.body = "Kavo Online goi loi chao den ban! Ban co khoe ko?";
    notification.action = "Open";
    notification.soundName = "default";
    notification.badgeNumber = 1;
    notification.userInfo = {{"someKey", "someValue"}};
    platform::LocalNotifications::schedule(notification);
}

std::optional<std::string> Util::parseJsonWithDict(const platform::Value& dictionary) {
    if (!dictionary.isDictionary() && !dictionary.isArray()) return std::nullopt;
    return platform::toJson(dictionary, true);
}

bool Util::isVN() {
    return Resources::getInstance().currentLanguage() == "vi";
}

// ---- Views and pictures

ui::ImagePtr Util::getImageWithName(const std::string& name) {
    return ui::Image::named(name);
}

namespace {

// The bound of each view's wait that has one (main thread only): its timer and what puts
// back the screen when the wait ends unanswered.
struct BoundedWait {
    std::shared_ptr<platform::Timer> timer;
    std::function<void()> onUnanswered;
};
using ViewKey = std::weak_ptr<ui::View>;
std::map<ViewKey, BoundedWait, std::owner_less<ViewKey>>& boundedWaits() {
    static std::map<ViewKey, BoundedWait, std::owner_less<ViewKey>> waits;
    return waits;
}

// Stops the view's pending hide, so it cannot take away a spinner shown after it was set.
void cancelHideTimer(const ui::ViewPtr& view) {
    auto& waits = boundedWaits();
    std::erase_if(waits, [](const auto& entry) { return entry.first.expired() || !entry.second.timer->isValid(); });
    auto found = waits.find(ViewKey(view));
    if (found == waits.end()) return;
    found->second.timer->invalidate();
    waits.erase(found);
}

bool hasSpinner(const ui::View& view) {
    const auto& subviews = view.subviews();
    return std::any_of(subviews.begin(), subviews.end(), [](const ui::ViewPtr& subview) {
        return std::dynamic_pointer_cast<ui::ActivityIndicatorView>(subview) != nullptr;
    });
}

} // namespace

void Util::showLoadingOnView(const ui::ViewPtr& view) {
    if (!view) return;
    cancelHideTimer(view);
    auto spinner = ui::ActivityIndicatorView::make(ui::Rect(0, 0, 40, 40));
    // On a dark rounded backdrop, so it reads clearly over a list's text.
    spinner->setBackgroundColor(ui::Color::white(0, 0.6));
    spinner->layer().setCornerRadius(8);
    spinner->setCenter({view->bounds().width() / 2, view->bounds().height() / 2});
    view->addSubview(spinner);
    view->setUserInteractionEnabled(false);
    view->bringSubviewToFront(spinner.get());
    spinner->startAnimating();
}

void Util::hideLoadingOnView(const ui::ViewPtr& view) {
    if (!view) return;
    cancelHideTimer(view);
    // A copy: removing changes the list being walked.
    std::vector<ui::ViewPtr> subviews = view->subviews();
    for (const ui::ViewPtr& subview : subviews) {
        if (auto spinner = std::dynamic_pointer_cast<ui::ActivityIndicatorView>(subview)) {
            spinner->stopAnimating();
            spinner->removeFromSuperview();
        }
    }
    view->setUserInteractionEnabled(true);
}

void Util::boundLoadingOnView(const ui::ViewPtr& view, double seconds, std::function<void()> onTimeout) {
    if (!view) return;
    cancelHideTimer(view);
    ViewKey weak(view);
    auto timer = platform::performAfterDelay(seconds, [weak, onTimeout] {
        auto target = weak.lock();
        if (!target) return;
        const bool spinning = hasSpinner(*target);
        hideLoadingOnView(target);
        if (!spinning) return;
        platform::log(
            "a wait on " +
            (target->accessibilityIdentifier().empty() ? std::string("a view") : target->accessibilityIdentifier()) +
            " ran out");
        if (onTimeout) onTimeout();
        // The server never answered: the player is told, not left waiting.
        UIController::showNotice(Resources::getInstance().textWithKey("KAVO_connectFail"));
    });
    boundedWaits()[weak] = BoundedWait{std::move(timer), std::move(onTimeout)};
}

void Util::endBoundedWaits() {
    // Gathered first: ending a wait changes the list.
    std::vector<std::pair<ui::ViewPtr, std::function<void()>>> ending;
    for (const auto& [key, wait] : boundedWaits()) {
        auto view = key.lock();
        if (view && wait.timer->isValid() && hasSpinner(*view)) ending.emplace_back(std::move(view), wait.onUnanswered);
    }
    for (const auto& [view, putBack] : ending) {
        hideLoadingOnView(view);
        if (putBack) putBack();
    }
}

void Util::hideLoadingOnViewAfterDelay(const ui::ViewPtr& view, double seconds) {
    boundLoadingOnView(view, seconds);
}

ui::ImagePtr Util::imageWithImage(const ui::ImagePtr& image, ui::Size size) {
    return image ? image->scaled(size) : nullptr;
}

ui::ImagePtr Util::flipImage(const ui::ImagePtr& image, ImageOrientation orientation) {
    if (!image) return nullptr;
    const int w = image->width(), h = image->height();
    const bool turned = orientation == ImageOrientation::Left || orientation == ImageOrientation::Right ||
                        orientation == ImageOrientation::LeftMirrored || orientation == ImageOrientation::RightMirrored;
    const int outW = turned ? h : w, outH = turned ? w : h;
    const uint8_t* in = image->bytes();
    std::vector<uint8_t> out(size_t(outW) * size_t(outH) * 4);
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            // The source pixel shown at (x, y) for each orientation.
            int sx = x, sy = y;
            switch (orientation) {
            case ImageOrientation::Up:
                break;
            case ImageOrientation::Down:
                sx = w - 1 - x, sy = h - 1 - y;
                break;
            case ImageOrientation::UpMirrored:
                sx = w - 1 - x;
                break;
            case ImageOrientation::DownMirrored:
                sy = h - 1 - y;
                break;
            case ImageOrientation::Left:
                sx = w - 1 - y, sy = x;
                break;
            case ImageOrientation::Right:
                sx = y, sy = h - 1 - x;
                break;
            case ImageOrientation::LeftMirrored:
                sx = w - 1 - y, sy = h - 1 - x;
                break;
            case ImageOrientation::RightMirrored:
                sx = y, sy = x;
                break;
            }
            std::copy_n(in + (size_t(sy) * w + sx) * 4, 4, out.data() + (size_t(y) * outW + x) * 4);
        }
    return ui::Image::fromPixels(outW, outH, std::move(out));
}

ui::ImagePtr Util::maskImage(const ui::ImagePtr& image, const ui::ImagePtr& mask) {
    if (!image) return nullptr;
    return mask ? image->masked(mask) : image;
}

void Util::outerGrowView(ui::View& view, double width) {
    ui::Layer& layer = view.layer();
    layer.setShadowColor(ui::Color::white());
    layer.setShadowOffset({-width, -width});
    layer.setShadowOpacity(1);
    layer.setShadowRadius(2);
    view.setClipsToBounds(false);
}

void Util::unOuterGrowView(ui::View& view) {
    ui::Layer& layer = view.layer();
    layer.setShadowColor(ui::Color::clear());
    layer.setShadowOffset({0, 0});
    layer.setShadowOpacity(1);
    layer.setShadowRadius(0);
    view.setClipsToBounds(false);
}

} // namespace kavo
