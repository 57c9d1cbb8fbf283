#include "persist/stamps.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string_view>

namespace pelmot {
namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";  // U+3000

// Days since 1970-01-01 of a civil date (proleptic Gregorian). Wide enough
// for any int fields, so an out-of-range date cannot overflow.
long long DaysFromCivil(long long y, long long m, long long d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

int ClampToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

bool ValidDate(int y, int m, int d) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1]) return false;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return !(m == 2 && d == 29 && !leap);
}

// Reads `minDigits` to `maxDigits` decimal digits from the front of `text`.
bool TakeNumber(std::string_view& text, int minDigits, int maxDigits, int& value) {
  int digits = 0;
  value = 0;
  while (digits < maxDigits && digits < static_cast<int>(text.size()) && text[digits] >= '0' && text[digits] <= '9')
    value = value * 10 + (text[digits++] - '0');
  text.remove_prefix(static_cast<std::size_t>(digits));
  return digits >= minDigits;
}

bool TakeMark(std::string_view& text, std::string_view mark) {
  if (!text.starts_with(mark)) return false;
  text.remove_prefix(mark.size());
  return true;
}

// "h:mm" or "h:mm:ss"; the hour and minute may have one or two digits.
bool TakeTime(std::string_view& text, LocalDateTime& t) {
  if (!TakeNumber(text, 1, 2, t.hour) || !TakeMark(text, ":") || !TakeNumber(text, 1, 2, t.minute)) return false;
  t.second = 0;
  if (TakeMark(text, ":") && !TakeNumber(text, 1, 2, t.second)) return false;
  return true;
}

}  // namespace

bool InStampRange(const LocalDateTime& t) {
  return ValidDate(t.year, t.month, t.day) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
         t.second >= 0 && t.second <= 59;
}

std::string MakeStamp(const LocalDateTime& t) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return std::string(kIdeographicSpace) + buf;
}

std::optional<LocalDateTime> ParseStamp(const std::string& stamp) {
  std::string_view text = stamp;
  TakeMark(text, kIdeographicSpace);
  LocalDateTime t;
  if (!TakeNumber(text, 1, 4, t.year) || !TakeMark(text, "/") || !TakeNumber(text, 1, 2, t.month) ||
      !TakeMark(text, "/") || !TakeNumber(text, 1, 2, t.day))
    return std::nullopt;
  // The general date-time notation writes a date alone at exactly midnight.
  t.hour = t.minute = t.second = 0;
  if (!text.empty() && !(TakeMark(text, " ") && TakeTime(text, t))) return std::nullopt;
  if (!text.empty() || !InStampRange(t)) return std::nullopt;
  return t;
}

std::string ShortStamp(const std::string& stamp) {
  auto t = ParseStamp(stamp);
  if (!t) return "";
  char buf[48];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d %02d:%02d", t->year % 100, t->month, t->day, t->hour, t->minute);
  return buf;
}

int DaysBetween(const LocalDateTime& from, const LocalDateTime& to) {
  return ClampToInt(DaysFromCivil(to.year, to.month, to.day) - DaysFromCivil(from.year, from.month, from.day));
}

int HoursBetween(const LocalDateTime& from, const LocalDateTime& to) {
  const long long days = DaysFromCivil(to.year, to.month, to.day) - DaysFromCivil(from.year, from.month, from.day);
  return ClampToInt(days * 24 + to.hour - from.hour);
}

}  // namespace pelmot
