#include "rules/due_date_calendar.h"

#include <algorithm>
#include <cstdio>

#include "rules/due_date_preview.h"

namespace condpag {
namespace calendar {

namespace chr = std::chrono;

Date add_days(Date date, long long days) { return Date{chr::sys_days{date} + chr::days{days}}; }

unsigned last_day(chr::year_month ym) {
    return unsigned(chr::year_month_day_last{ym.year(), chr::month_day_last{ym.month()}}.day());
}

chr::year_month month_of(Date date) { return {date.year(), date.month()}; }

Date end_of_month(Date date) { return Date{date.year() / date.month() / chr::last}; }

Date day_in_month(chr::year_month ym, unsigned day) {
    return Date{ym.year(), ym.month(), chr::day{std::min(day, last_day(ym))}};
}

Date add_months(Date date, long long months) {
    const chr::year_month target = month_of(date) + chr::months{months};
    const bool last = date.day() == end_of_month(date).day();
    return day_in_month(target, last ? 31u : unsigned(date.day()));
}

Date add_calendar_days(Date date, long long days, long long calendar) {
    if (calendar == 1) return add_days(date, days);
    return add_days(add_months(date, days / 30), days % 30);
}

Date next_day_of_month(Date from, unsigned day) {
    const Date here = day_in_month(month_of(from), day);
    if (here >= from) return here;
    return day_in_month(month_of(from) + chr::months{1}, day);
}

std::optional<DayMonth> day_month(long long stored) {
    if (stored < 101 || stored > 1231) return std::nullopt;
    DayMonth dm{unsigned(stored / 100), unsigned(stored % 100)};
    if (!Date{chr::year{1996}, chr::month{dm.month}, chr::day{dm.day}}.ok()) return std::nullopt;
    return dm;
}

long long stored_day_month(Date date) {
    return 100LL * unsigned(date.month()) + unsigned(date.day());
}

Date in_year(chr::year year, DayMonth dm) {
    return day_in_month(chr::year_month{year, chr::month{dm.month}}, dm.day);
}

Date next_day_month(Date from, DayMonth dm, bool strictly_after) {
    const Date here = in_year(from.year(), dm);
    if (here > from || (here == from && !strictly_after)) return here;
    return in_year(from.year() + chr::years{1}, dm);
}

std::string format_day_month(DayMonth dm) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u/%02u", dm.day % 100, dm.month % 100);
    return text;
}

bool plausible(const Date& date) {
    return date.ok() && int(date.year()) >= 1900 && int(date.year()) <= 9000;
}

}  // namespace calendar

std::string format_date(const std::chrono::year_month_day& date) {
    if (!date.ok()) return {};
    char text[16];
    std::snprintf(text, sizeof text, "%02u/%02u/%04d", unsigned(date.day()), unsigned(date.month()),
                  int(date.year()));
    return text;
}

}  // namespace condpag
