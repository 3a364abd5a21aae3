#include "app/command_line/utc_time.h"

#include <cstdio>

namespace app {

namespace {

std::string Format(std::int64_t seconds, const char* format) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days to a civil date in the proleptic Gregorian calendar, counted in
  // 400-year eras that begin on 1 March.
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const std::int64_t dayOfEra = shifted - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<long long>(rest / 3600),
                static_cast<long long>(rest % 3600 / 60), static_cast<long long>(rest % 60));
  return text;
}

}  // namespace

std::string FormatUtc(std::int64_t seconds) {
  return Format(seconds, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld");
}

std::string FormatIsoUtc(std::int64_t seconds) {
  return Format(seconds, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lldZ");
}

}  // namespace app
