#include "platform/foundation/DateFormat.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>

namespace platform {

namespace {

// Years 1 to 9999: every date the client shows; values beyond are clamped so the
// C time functions never see a year they cannot hold.
constexpr double kMinDate = -62135596800.0;
constexpr double kMaxDate = 253402300799.0;

constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
constexpr const char* kWeekdayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

double clampDate(double date) {
    if (std::isnan(date)) return 0;
    return std::clamp(date, kMinDate, kMaxDate);
}

struct LocalTime {
    std::tm tm{};
    double fraction = 0; // the part of a second, 0 <= fraction < 1
};

LocalTime toLocal(double date) {
    date = clampDate(date);
    double whole = std::floor(date);
    LocalTime result;
    result.fraction = date - whole;
    std::time_t t = std::time_t(whole);
    if (!localtime_r(&t, &result.tm)) result.tm = std::tm{};
    return result;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month0) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month0 == 1 && isLeapYear(year)) return 29;
    return days[month0];
}

std::string padded(long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    return buffer;
}

// Splits a pattern into runs of one letter and literal text, calling `field` with
// the letter and its count, or `literal` with text to copy.
void walkPattern(std::string_view pattern, const std::function<void(char, int)>& field,
                 const std::function<void(std::string_view)>& literal) {
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            size_t j = i;
            while (j < pattern.size() && pattern[j] == c)
                ++j;
            field(c, int(j - i));
            i = j;
        } else if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                literal("'");
                i += 2;
                continue;
            }
            size_t j = i + 1;
            std::string text;
            while (j < pattern.size()) {
                if (pattern[j] == '\'') {
                    if (j + 1 < pattern.size() && pattern[j + 1] == '\'') {
                        text += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += pattern[j++];
            }
            literal(text);
            i = j + 1;
        } else {
            size_t j = i;
            while (j < pattern.size() && pattern[j] != '\'' &&
                   !((pattern[j] >= 'a' && pattern[j] <= 'z') || (pattern[j] >= 'A' && pattern[j] <= 'Z')))
                ++j;
            literal(pattern.substr(i, j - i));
            i = j;
        }
    }
}

int64_t daysFromCivil(int year, unsigned month, unsigned day) {
    using namespace std::chrono;
    return sys_days{year_month_day{std::chrono::year{year}, std::chrono::month{month}, std::chrono::day{day}}}
        .time_since_epoch()
        .count();
}

} // namespace

double currentDate() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::string formatDate(double date, std::string_view pattern) {
    LocalTime local = toLocal(date);
    const std::tm& t = local.tm;
    std::string out;
    walkPattern(
        pattern,
        [&](char letter, int count) {
            switch (letter) {
            case 'y':
                out += count == 2 ? padded((t.tm_year + 1900) % 100, 2) : padded(t.tm_year + 1900, count);
                break;
            case 'M':
                if (count >= 4)
                    out += kMonthNames[t.tm_mon];
                else if (count == 3)
                    out += std::string(kMonthNames[t.tm_mon]).substr(0, 3);
                else
                    out += padded(t.tm_mon + 1, count);
                break;
            case 'd':
                out += padded(t.tm_mday, count);
                break;
            case 'H':
                out += padded(t.tm_hour, count);
                break;
            case 'h':
                out += padded(t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12, count);
                break;
            case 'm':
                out += padded(t.tm_min, count);
                break;
            case 's':
                out += padded(t.tm_sec, count);
                break;
            case 'S': {
                // Truncated, never rounded up into the next second.
                int digits = std::min(count, 9);
                long long scaled = (long long)(local.fraction * std::pow(10.0, digits));
                out += padded(scaled, digits);
                break;
            }
            case 'a':
                out += t.tm_hour < 12 ? "AM" : "PM";
                break;
            case 'E':
                out += count >= 4 ? std::string(kWeekdayNames[t.tm_wday])
                                  : std::string(kWeekdayNames[t.tm_wday]).substr(0, 3);
                break;
            default:
                out.append(size_t(count), letter);
                break;
            }
        },
        [&](std::string_view text) { out += text; });
    return out;
}

std::optional<double> parseDate(std::string_view text, std::string_view pattern) {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    int hour12 = -1;
    int pm = -1;
    size_t pos = 0;
    bool ok = true;

    auto readNumber = [&](int minDigits, int maxDigits, int& into) {
        int value = 0;
        int digits = 0;
        while (digits < maxDigits && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        if (digits < minDigits) ok = false;
        into = value;
    };

    walkPattern(
        pattern,
        [&](char letter, int count) {
            if (!ok) return;
            int minDigits = count == 1 ? 1 : count;
            int maxDigits = count == 1 ? (letter == 'y' ? 4 : 2) : count;
            switch (letter) {
            case 'y':
                readNumber(minDigits, maxDigits, year);
                if (count == 2) year += 2000;
                break;
            case 'M':
                readNumber(minDigits, maxDigits, month);
                break;
            case 'd':
                readNumber(minDigits, maxDigits, day);
                break;
            case 'H':
                readNumber(minDigits, maxDigits, hour);
                break;
            case 'h':
                readNumber(minDigits, maxDigits, hour12);
                break;
            case 'm':
                readNumber(minDigits, maxDigits, minute);
                break;
            case 's':
                readNumber(minDigits, maxDigits, second);
                break;
            case 'S': {
                int ignored = 0;
                readNumber(1, count, ignored);
                break;
            }
            case 'a':
                if (text.substr(pos, 2) == "AM" || text.substr(pos, 2) == "am")
                    pm = 0;
                else if (text.substr(pos, 2) == "PM" || text.substr(pos, 2) == "pm")
                    pm = 1;
                else
                    ok = false;
                pos += 2;
                break;
            default:
                ok = false;
                break; // names of months and weekdays are not read back
            }
        },
        [&](std::string_view literal) {
            if (!ok) return;
            if (text.substr(pos, literal.size()) != literal) ok = false;
            pos += literal.size();
        });

    if (!ok || pos != text.size()) return std::nullopt;
    if (hour12 >= 0) {
        if (hour12 < 1 || hour12 > 12) return std::nullopt;
        hour = hour12 % 12 + (pm == 1 ? 12 : 0);
    }
    if (year < 1 || year > 9999 || month < 1 || month > 12) return std::nullopt;
    if (day < 1 || day > daysInMonth(year, month - 1)) return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;

    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    std::time_t result = std::mktime(&t);
    return double(result);
}

std::string formatShortDate(double date) {
    return formatDate(date, kShortDatePattern);
}
std::string formatShortTime(double date) {
    return formatDate(date, kShortTimePattern);
}

std::string formatIso8601(double date) {
    date = clampDate(date);
    double whole = std::floor(date);
    long long micros = std::llround((date - whole) * 1e6);
    long long seconds = (long long)whole;
    if (micros >= 1000000) {
        micros -= 1000000;
        seconds += 1;
    }
    long long days = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    long long secondOfDay = seconds - days * 86400;
    using namespace std::chrono;
    year_month_day ymd{sys_days{std::chrono::days{days}}};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02uT%02lld:%02lld:%02lld", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()), secondOfDay / 3600, secondOfDay / 60 % 60, secondOfDay % 60);
    std::string out = buffer;
    if (micros > 0) {
        std::string fraction = padded(micros, 6);
        while (!fraction.empty() && fraction.back() == '0')
            fraction.pop_back();
        out += "." + fraction;
    }
    return out + "Z";
}

std::optional<double> parseIso8601(std::string_view text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    size_t pos = 0;
    auto number = [&](size_t digits, int& into) {
        if (pos + digits > text.size()) return false;
        int value = 0;
        for (size_t i = 0; i < digits; ++i) {
            char c = text[pos + i];
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        pos += digits;
        into = value;
        return true;
    };
    auto expect = [&](char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    };
    if (!number(4, year) || !expect('-') || !number(2, month) || !expect('-') || !number(2, day) || !expect('T') ||
        !number(2, hour) || !expect(':') || !number(2, minute) || !expect(':') || !number(2, second))
        return std::nullopt;
    double fraction = 0;
    if (expect('.')) {
        double scale = 0.1;
        size_t start = pos;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            fraction += (text[pos] - '0') * scale;
            scale /= 10;
            ++pos;
        }
        if (pos == start) return std::nullopt;
    }
    int offsetSeconds = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        int sign = text[pos] == '-' ? -1 : 1;
        ++pos;
        int offHours = 0, offMinutes = 0;
        if (!number(2, offHours)) return std::nullopt;
        expect(':');
        if (!number(2, offMinutes)) return std::nullopt;
        if (offHours > 23 || offMinutes > 59) return std::nullopt;
        offsetSeconds = sign * (offHours * 3600 + offMinutes * 60);
    } else {
        expect('Z');
    }
    if (pos != text.size()) return std::nullopt;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month - 1) || hour > 23 ||
        minute > 59 || second > 60)
        return std::nullopt;
    double days = double(daysFromCivil(year, unsigned(month), unsigned(day)));
    return days * 86400 + hour * 3600 + minute * 60 + second + fraction - offsetSeconds;
}

double addCalendarUnits(double date, int years, int months, int days) {
    LocalTime local = toLocal(date);
    std::tm t = local.tm;
    long long totalMonths = (long long)t.tm_year * 12 + t.tm_mon + (long long)years * 12 + months;
    long long year = totalMonths >= 0 ? totalMonths / 12 : -((-totalMonths + 11) / 12);
    int month0 = int(totalMonths - year * 12);
    year = std::clamp(year, -1899LL, 8099LL); // tm_year of years 1 to 9999
    t.tm_year = int(year);
    t.tm_mon = month0;
    t.tm_mday = std::min(t.tm_mday, daysInMonth(int(year) + 1900, month0));
    t.tm_mday += days;
    t.tm_isdst = -1;
    return double(std::mktime(&t)) + local.fraction;
}

DateComponents calendarDifference(double from, double to) {
    from = clampDate(from);
    to = clampDate(to);
    if (to < from) {
        DateComponents d = calendarDifference(to, from);
        return {-d.years, -d.months, -d.days, -d.hours, -d.minutes, -d.seconds};
    }
    std::tm a = toLocal(from).tm;
    std::tm b = toLocal(to).tm;
    DateComponents result;

    result.years = b.tm_year - a.tm_year;
    while (result.years > 0 && addCalendarUnits(from, result.years, 0, 0) > to)
        --result.years;

    result.months = (b.tm_year * 12 + b.tm_mon) - ((a.tm_year + result.years) * 12 + a.tm_mon);
    while (result.months > 0 && addCalendarUnits(from, result.years, result.months, 0) > to)
        --result.months;

    double base = addCalendarUnits(from, result.years, result.months, 0);
    result.days = std::max(0, int((to - base) / 86400) - 1); // a day may be 23 or 25 hours long
    while (addCalendarUnits(from, result.years, result.months, result.days + 1) <= to)
        ++result.days;

    double rest = to - addCalendarUnits(from, result.years, result.months, result.days);
    long long whole = (long long)std::max(0.0, rest);
    result.hours = int(whole / 3600);
    result.minutes = int(whole / 60 % 60);
    result.seconds = int(whole % 60);
    return result;
}

} // namespace platform
