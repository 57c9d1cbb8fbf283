#include "persist/stamps.h"

#include <cstdio>

namespace pelmot {
namespace {

constexpr const char* kIdeographicSpace = "\xE3\x80\x80";  // U+3000

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

bool ValidDate(int y, int m, int d) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return !(m == 2 && d == 29 && !leap);
}

}  // namespace

std::string MakeStamp(const LocalDateTime& t) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return std::string(kIdeographicSpace) + buf;
}

std::optional<LocalDateTime> ParseStamp(const std::string& stamp) {
  const std::string prefix = kIdeographicSpace;
  if (stamp.rfind(prefix, 0) != 0) return std::nullopt;
  const std::string text = stamp.substr(prefix.size());
  LocalDateTime t;
  int consumed = 0;
  if (std::sscanf(text.c_str(), "%d/%d/%d %d:%d:%d%n", &t.year, &t.month, &t.day, &t.hour,
                  &t.minute, &t.second, &consumed) != 6 ||
      consumed != static_cast<int>(text.size()))
    return std::nullopt;
  if (!ValidDate(t.year, t.month, t.day) || t.hour < 0 || t.hour > 23 || t.minute < 0 ||
      t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  return t;
}

std::string ShortStamp(const std::string& stamp) {
  auto t = ParseStamp(stamp);
  if (!t) return "";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d", t->year % 100, t->month, t->day,
                t->hour, t->minute);
  return buf;
}

int DaysBetween(const LocalDateTime& from, const LocalDateTime& to) {
  return static_cast<int>(DaysFromCivil(to.year, to.month, to.day) -
                          DaysFromCivil(from.year, from.month, from.day));
}

int HoursBetween(const LocalDateTime& from, const LocalDateTime& to) {
  return DaysBetween(from, to) * 24 + to.hour - from.hour;
}

}  // namespace pelmot
