// Time stamps: "　" then the local date and time, as Japanese Windows wrote
// them ("　2026/12/06 9:21:05").
#pragma once

#include <optional>
#include <string>

#include "platform/services.h"

namespace pelmot {

// A real date and time within the years a stamp can hold (1 ... 9999).
bool InStampRange(const LocalDateTime& t);
std::string MakeStamp(const LocalDateTime& t);
// Reads a stamp back in any form the original program left: with or without
// the leading "　", the hour (and month and day) with a leading zero or not,
// with or without seconds, or a date alone (midnight). Nothing for an empty
// or unreadable stamp, or a date outside the years 1 ... 9999.
std::optional<LocalDateTime> ParseStamp(const std::string& stamp);
// "yy/mm/dd hh:nn", or "" for an empty or unreadable stamp.
std::string ShortStamp(const std::string& stamp);

// Calendar differences used by the greeting: whole days between the dates,
// and hours between the times counted as hour boundaries (23:59 to 00:01 is
// one hour). Out-of-range dates give results clamped to int, never overflow.
int DaysBetween(const LocalDateTime& from, const LocalDateTime& to);
int HoursBetween(const LocalDateTime& from, const LocalDateTime& to);

}  // namespace pelmot
