#pragma once

#include "platform/foundation/Value.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kavo {

// How flipImage turns a picture (the picture's own orientation names).
enum class ImageOrientation { Up, Down, Left, Right, UpMirrored, DownMirrored, LeftMirrored, RightMirrored };

// A layout rectangle given for the phone's screen, through the tablet rule of
// Util::changeRectFromRect: what most screens build their frames with.
platform::ui::Rect scaled(platform::ui::Rect phoneRect);

// Helpers every screen uses: the phone-to-tablet geometry rule, texts of numbers,
// times and dates, device and network facts, the loading spinner and a few
// picture helpers. The text, date, device and JSON helpers keep no state and may
// be called from any thread; the ones that touch views are for the main thread.
class Util {
public:
    // ---- Geometry. Layouts are made for the phone's 480 x 320 landscape screen; on
    // a tablet x and widths are multiplied by iPadX, y and heights by iPadY.
    static bool isPad();
    static float iPad();  // 2.0 on a tablet, else 1.0
    static float iPadX(); // 2.13 on a tablet, else 1.0
    static float iPadY(); // 2.4 on a tablet, else 1.0
    static float iOSKeyboardHeight();
    static platform::ui::Point changePointFromPoint(platform::ui::Point point);
    static platform::ui::Size changeSizeFromSize(platform::ui::Size size);
    static platform::ui::Rect changeRectFromRect(platform::ui::Rect rect);
    // Doubled on any device.
    static double convertiPhoneWidthToIpad(double width);
    static double convertiPhoneHeightToIpad(double height);
    // Doubled on a tablet, unchanged on a phone.
    static platform::ui::Rect convertRectFromrect(platform::ui::Rect rect);
    static platform::ui::Size convertSizeFromSize(platform::ui::Size size);
    static bool hasRetinaDisplay();

    // ---- Texts of numbers, times and dates (dates are seconds since 1970, local calendar)
    // Money: digits grouped by threes as the interface language groups them, Vietnamese
    // "1.234.567", English "1,234,567"; a negative amount keeps its minus sign.
    static std::string formatNumber(int64_t number);
    // A change of money: formatNumber with the sign written, "+70.000", "-1.000", "0".
    static std::string formatSignedNumber(int64_t number);
    // "mm:ss" of a count of seconds (75 -> "01:15"; minutes are not capped).
    static std::string convertIntToQuotaTime(int seconds);
    // Milliseconds since 1970 as "HH:mm:ss dd/MM/yyyy" (whole seconds).
    static std::string getDateWithLong(int64_t milliseconds);
    static double getDateWithLongNumber(int64_t milliseconds);
    static std::string getCurrentTimeWithFullDateTime();
    static std::string getCurrentTimeWithHourAndMinute();
    static std::string getDayMonth();
    static std::string getDateStringWithFormat(std::string_view pattern);
    static std::string getDateString(double date);
    static std::string getDateStringWithDay(int day, int month, int year);
    // Midnight of that day; nothing for an impossible date.
    static std::optional<double> getDateFromString(int day, int month, int year);
    // How long ago `date` was, in the current language and lower case ("2 ngày trước",
    // "hôm qua"); empty for now or a future date.
    static std::string compareWithCurrentDate(double date);
    static std::string compareWithDate(double date, double now);
    // "Room 3, Table 7, Caro" for a friend's whereabouts; empty for a game without a name here.
    static std::string formatStatusOnlineWithRoomId(int roomId, int boardId, int gameType);

    // ---- Device and network
    // "WIFI", "GPRS/3G" or "Others".
    static std::string getNetworkType();
    // Whether the server-list address of the configuration can be read now (blocks
    // for the fetch: not on the main thread's busy paths). When it cannot, the
    // dialog action code is set to -1, the failure is logged and the player is told
    // in a one-button dialog (posted to the main thread).
    static bool connectedToInternet();
    // The same probe against any address.
    static bool connectedToInternetAt(const std::string& url);
    // The same probe off the main thread: `completion` runs on the main thread with
    // the result, after the player was told of a failure.
    static void connectedToInternetAsyncAt(const std::string& url, double timeout,
                                           std::function<void(bool)> completion);
    // How long the probe may take before it counts as no connection.
    static constexpr double kConnectivityProbeTimeout = 10;
    // Buzzes when the vibration switch is on.
    static void callRung();
    static std::string getDeviceType();
    static std::string getDeviceName();
    static bool isDeviceWithHighPerformanceCPU();
    static double getBatteryLevel();
    static int64_t get_free_memory();
    // A daily greeting at 12:07 (repeating every weekday).
    static void setNotificationToUser();
    // Pretty-printed JSON of a dictionary or array; nothing for other values.
    static std::optional<std::string> parseJsonWithDict(const platform::Value& dictionary);
    static bool isVN();

    // ---- Views and pictures (main thread)
    static platform::ui::ImagePtr getImageWithName(const std::string& name);
    // Covers the view with a 40 x 40 spinner that also blocks its touches.
    static void showLoadingOnView(const platform::ui::ViewPtr& view);
    // Removes every spinner among the view's own subviews and lets touches through again.
    static void hideLoadingOnView(const platform::ui::ViewPtr& view);
    // How long a spinner that waits for the server stays when nothing gives it a bound.
    static constexpr double kLoadingBound = 10.0;
    // Bounds the view's spinner: when it is still up after `seconds`, it goes, `onTimeout`
    // runs (to put back what the wait had changed on screen) and the player reads
    // "KAVO_connectFail". A spinner hidden earlier ends the bound; a new call for the same
    // view replaces the earlier one, so an old bound never hides a newer spinner.
    static void boundLoadingOnView(const platform::ui::ViewPtr& view, double seconds = kLoadingBound,
                                   std::function<void()> onTimeout = {});
    // The server refused a request or answered it with a notice: a refusal names no
    // request, so every bounded wait still up ends, its `onTimeout` puts back what it had
    // changed, and the notice stays the only word the player reads.
    static void endBoundedWaits();
    // The screens' own bounds (joining, playing now, creating a board): the same as
    // boundLoadingOnView with that time.
    static void hideLoadingOnViewAfterDelay(const platform::ui::ViewPtr& view, double seconds);
    static platform::ui::ImagePtr imageWithImage(const platform::ui::ImagePtr& image, platform::ui::Size size);
    static platform::ui::ImagePtr flipImage(const platform::ui::ImagePtr& image, ImageOrientation orientation);
    static platform::ui::ImagePtr maskImage(const platform::ui::ImagePtr& image, const platform::ui::ImagePtr& mask);
    // A white glow around the view, and its removal.
    static void outerGrowView(platform::ui::View& view, double width);
    static void unOuterGrowView(platform::ui::View& view);
};

} // namespace kavo
