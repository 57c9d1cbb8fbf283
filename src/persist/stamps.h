// Time stamps: "　" then the local date and time, as Japanese Windows wrote
// them ("　2026/12/06 9:21:05").
#pragma once

#include <optional>
#include <string>

#include "platform/services.h"

namespace pelmot {

std::string MakeStamp(const LocalDateTime& t);
// Reads a stamp back; the hour (and month and day) may have a leading zero
// or not. Nothing for an empty or unreadable stamp.
std::optional<LocalDateTime> ParseStamp(const std::string& stamp);
// "yy/mm/dd hh:nn", or "" for an empty or unreadable stamp.
std::string ShortStamp(const std::string& stamp);

// Calendar differences used by the greeting: whole days between the dates,
// and hours between the times counted as hour boundaries (23:59 to 00:01 is
// one hour).
int DaysBetween(const LocalDateTime& from, const LocalDateTime& to);
int HoursBetween(const LocalDateTime& from, const LocalDateTime& to);

}  // namespace pelmot
