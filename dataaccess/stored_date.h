#pragma once
// Dates are stored as text "yyyy-mm-dd hh:mm:ss", which sorts as it reads; callers
// see them as the platform's date (days since 30 December 1899, time as a fraction).
#include <optional>
#include <string>
#include <string_view>

namespace vk::data {

// Whether the day exists in the calendar (years 1 to 9999).
bool IsCalendarDate(int year, int month, int day);

// Reads "yyyy-mm-dd[ hh:mm[:ss[.fff]]]" (also with "T"); nothing when it is not one or
// names a day the calendar lacks ("2021-02-30"), so such a text is never another day.
std::optional<double> OleDateFromStored(std::string_view text);
std::wstring StoredFromOleDate(double date);

}  // namespace vk::data
