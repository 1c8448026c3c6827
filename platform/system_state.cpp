#include <cstdio>
#include <ctime>

#include "platform/system_state.h"

namespace gw {

int64_t wallClockSeconds() { return int64_t(std::time(nullptr)); }

std::string ctimeText(int64_t seconds) {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::time_t t = std::time_t(seconds);
  std::tm parts{};
#if defined(_WIN32)
  if (localtime_s(&parts, &t) != 0) return std::string(24, '?');
#else
  if (!localtime_r(&t, &parts)) return std::string(24, '?');
#endif
  // Formatted by hand: the C library's ctime is not reentrant, and its text
  // must not depend on the locale.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s %s %2d %02d:%02d:%02d %4d", kDays[parts.tm_wday % 7],
                kMonths[parts.tm_mon % 12], parts.tm_mday, parts.tm_hour, parts.tm_min,
                parts.tm_sec, parts.tm_year + 1900);
  return std::string(buf).substr(0, 24);
}

}  // namespace gw
