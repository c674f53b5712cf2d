#include "account/BirthdayPicker.h"

#include <algorithm>

namespace kavo {

BirthdayPicker::BirthdayPicker(platform::ui::Rect frame) : platform::ui::PickerView(frame) {
    setDataSource(this);
    setDelegate(this);
    setShowsSelectionIndicator(true);
    setChoosesOnTap(true);
}

BirthdayPicker::~BirthdayPicker() {
    setDataSource(nullptr);
    setDelegate(nullptr);
}

std::shared_ptr<BirthdayPicker> BirthdayPicker::make(platform::ui::Rect frame) {
    auto picker = std::make_shared<BirthdayPicker>(frame);
    picker->showDate();
    return picker;
}

int BirthdayPicker::daysInMonth(int month, int year) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

void BirthdayPicker::setDate(int day, int month, int year) {
    if (year >= kFirstYear && year <= kLastYear) year_ = year;
    if (month >= 1 && month <= 12) month_ = month;
    if (day >= 1 && day <= daysInMonth(month_, year_)) day_ = day;
    day_ = std::min(day_, daysInMonth(month_, year_));
    showDate();
}

void BirthdayPicker::openOnDate(int day, int month, int year) {
    setDate(day, month, year);
    openOn({day_ - 1, month_ - 1, year_ - kFirstYear});
}

void BirthdayPicker::showDate() {
    selectRow(day_ - 1, 0);
    selectRow(month_ - 1, 1);
    selectRow(year_ - kFirstYear, 2);
}

int BirthdayPicker::numberOfComponents(platform::ui::PickerView& /*picker*/) {
    return 3;
}

int BirthdayPicker::numberOfRowsInComponent(platform::ui::PickerView& /*picker*/, int component) {
    switch (component) {
    case 0:
        return 31;
    case 1:
        return 12;
    default:
        return kLastYear - kFirstYear + 1;
    }
}

std::string BirthdayPicker::titleForRow(platform::ui::PickerView& /*picker*/, int row, int component) {
    return std::to_string(component == 2 ? kFirstYear + row : row + 1);
}

void BirthdayPicker::didSelectRow(platform::ui::PickerView& /*picker*/, int row, int component) {
    // The date is what the three wheels show, the chosen row in its column.
    selectRow(row, component);
    day_ = selectedRowInComponent(0) + 1;
    month_ = selectedRowInComponent(1) + 1;
    year_ = kFirstYear + selectedRowInComponent(2);
    // The 31st of a shorter month settles on its last day.
    if (day_ > daysInMonth(month_, year_)) {
        day_ = daysInMonth(month_, year_);
        selectRow(day_ - 1, 0);
    }
    if (onDateChanged_) onDateChanged_();
}

} // namespace kavo
