#pragma once

#include "platform/ui/PickerView.h"

#include <functional>
#include <memory>

namespace kavo {

// A picker in date mode: day, month and year wheels, a field's drop-down: the wheels only
// move the highlight, and a choice (a click on a row, Return) takes the date the three
// wheels show and calls `onDateChanged` once; the day is kept inside the chosen month.
class BirthdayPicker : public platform::ui::PickerView,
                       public platform::ui::PickerViewDataSource,
                       public platform::ui::PickerViewDelegate {
public:
    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2030;

    explicit BirthdayPicker(platform::ui::Rect frame);
    ~BirthdayPicker() override;
    static std::shared_ptr<BirthdayPicker> make(platform::ui::Rect frame);

    int day() const { return day_; }
    int month() const { return month_; }
    int year() const { return year_; }
    // From code: no call to onDateChanged. Out-of-range parts keep their wheel.
    void setDate(int day, int month, int year);
    // Shows the picker on that date (the field's), as every picker opens.
    void openOnDate(int day, int month, int year);
    void setOnDateChanged(std::function<void()> action) { onDateChanged_ = std::move(action); }

    int numberOfComponents(platform::ui::PickerView& picker) override;
    int numberOfRowsInComponent(platform::ui::PickerView& picker, int component) override;
    std::string titleForRow(platform::ui::PickerView& picker, int row, int component) override;
    void didSelectRow(platform::ui::PickerView& picker, int row, int component) override;

    static int daysInMonth(int month, int year);

private:
    void showDate();

    int day_ = 1;
    int month_ = 1;
    int year_ = 1990;
    std::function<void()> onDateChanged_;
};

} // namespace kavo
