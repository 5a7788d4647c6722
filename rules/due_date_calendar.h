#pragma once
// Calendar arithmetic of the due-date preview: days, months, month ends, and days of the year
// stored as 100 × month + day.

#include <chrono>
#include <optional>
#include <string>

namespace condpag::calendar {

using Date = std::chrono::year_month_day;

Date add_days(Date date, long long days);
unsigned last_day(std::chrono::year_month ym);
std::chrono::year_month month_of(Date date);
Date end_of_month(Date date);

// Day `day` of a month, clamped to the month's last day.
Date day_in_month(std::chrono::year_month ym, unsigned day);

// Same day n months later; a month's last day goes to the target month's last day.
Date add_months(Date date, long long months);

// Calendar 0 counts whole months of 30 days first, calendar 1 counts plain days.
Date add_calendar_days(Date date, long long days, long long calendar);

// First date on or after `from` whose day of the month is `day` (clamped in short months).
Date next_day_of_month(Date from, unsigned day);

// A day of the year stored as 100 × month + day; 29/02 counts, and is 28/02 in common years.
struct DayMonth {
    unsigned month = 0;
    unsigned day = 0;
    long long stored() const { return 100LL * month + day; }
};

std::optional<DayMonth> day_month(long long stored);
long long stored_day_month(Date date);
Date in_year(std::chrono::year year, DayMonth dm);

// First date on or after `from` (or strictly after, when asked) with the day/month.
Date next_day_month(Date from, DayMonth dm, bool strictly_after);

std::string format_day_month(DayMonth dm);  // 01/08

// Dates far outside the years of business would leave the calendar once days are added.
bool plausible(const Date& date);

}  // namespace condpag::calendar
