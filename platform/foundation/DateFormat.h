#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Dates are seconds since 1970-01-01 00:00:00 UTC, as doubles. Formatting and
// parsing use the local calendar of the process time zone (TZ), except the
// ISO-8601 functions, which are UTC.

// The wall-clock time now (for showing and stamping dates; waiting uses Clock).
double currentDate();

// Pattern letters: yyyy (year, yy two digits), MM / M (month, MMM "Jan", MMMM
// "January"), dd / d (day), HH / H (hour 0-23), hh / h (hour 1-12), mm / m
// (minute), ss / s (second), S... (fraction digits), a (AM/PM), EEE (weekday
// "Mon", EEEE "Monday"). Text in single quotes is literal ('' is a quote); any
// other character is copied as is.
std::string formatDate(double date, std::string_view pattern);

// Reads text written with a numeric pattern (for instance "dd/MM/yyyy" or
// "yyyy-MM-dd HH:mm:ss"). A doubled letter takes exactly that many digits, a
// single letter one or two (a year up to four). Fields the pattern lacks default
// to 2000-01-01 00:00:00. Text that does not match, or an impossible date,
// gives nullopt.
std::optional<double> parseDate(std::string_view text, std::string_view pattern);

inline constexpr std::string_view kShortDatePattern = "dd/MM/yy";
inline constexpr std::string_view kShortTimePattern = "HH:mm";
std::string formatShortDate(double date);
std::string formatShortTime(double date);

// "2024-01-02T03:04:05Z" (fractions of a second appear only when present).
std::string formatIso8601(double date);
// Reads the form above; a missing zone means UTC, "+07:00" / "+0700" offsets are applied.
std::optional<double> parseIso8601(std::string_view text);

// The difference of two dates on the local calendar, unit by unit: whole years
// first, then whole months of what remains, then days, hours, minutes and
// seconds. Adding a month to the 31st lands on the last day of a shorter month.
// When `to` is before `from` every component is negative.
struct DateComponents {
    int years = 0;
    int months = 0;
    int days = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    bool operator==(const DateComponents&) const = default;
};
DateComponents calendarDifference(double from, double to);

// The local calendar date plus whole years, months and days (time of day kept;
// a day of month past the end of the new month is clamped to its last day).
double addCalendarUnits(double date, int years, int months, int days);

} // namespace platform
