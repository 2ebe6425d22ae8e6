#include "declaration/time_stamp.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string_view>

namespace f7301 {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "Enero", "Febrero", "Marzo",      "Abril",   "Mayo",      "Junio",
    "Julio", "Agosto",  "Septiembre", "Octubre", "Noviembre", "Diciembre"};

// Written without accents, as the stamp texts have always been.
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Domingo", "Lunes", "Martes", "Miercoles", "Jueves", "Viernes", "Sabado"};

// A name from a table; a number out of range (only a hand-made moment can
// hold one) gives an empty name rather than a read outside the table.
template <std::size_t N>
std::string NameAt(const std::array<std::string_view, N>& names, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
  return std::string(names[static_cast<std::size_t>(index)]);
}

// The year as exactly four characters: zero-padded on the left, and only the
// first four characters of a longer number.
std::string YearText(int year) {
  char text[16];
  std::snprintf(text, sizeof text, "%.4d", year);
  return std::string(text).substr(0, 4);
}

// printf into a std::string. The longest layout takes 35 characters even
// with the longest names; the buffer leaves room for any int arguments.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[128];
  int length = std::snprintf(text, sizeof text, format, args...);
  if (length < 0) return {};
  return std::string(text, static_cast<std::size_t>(length) < sizeof text
                               ? static_cast<std::size_t>(length)
                               : sizeof text - 1);
}

std::string DateText(int mode, const LocalTime& t, const std::string& year) {
  const char* y = year.c_str();
  switch (mode) {
    case 4:
    case 6:
      return Format("%s:%.2d:%.2d", y, t.month, t.day);
    case 7:
      return Format("%s.%.2d.%.2d", y, t.month, t.day);
    case 8:
    case 13:
      return Format("%.2d/%.2d/%s", t.day, t.month, y);
    case 9:
      return Format(" %s %.2d de %s de %s", NameAt(kWeekdayNames, t.weekday).c_str(), t.day,
                    NameAt(kMonthNames, t.month - 1).c_str(), y);
    case 10:
      return Format("%.2d/%s/%s", t.day, NameAt(kMonthNames, t.month - 1).c_str(), y);
    case 12:
      return year;
    case 14:
      return NameAt(kWeekdayNames, t.weekday);
    case 1:
    case 2:
    case 3:
    case 11:
      return Format("%.2d%.2d%s", t.day, t.month, y);
    case 5:
    default:
      return Format("%s%.2d%.2d", y, t.month, t.day);
  }
}

std::string TimeText(int mode, const LocalTime& t) {
  const unsigned centiseconds = static_cast<unsigned>(t.millisecond) / 10u;
  const unsigned milliseconds = static_cast<unsigned>(t.millisecond);
  switch (mode) {
    case 1:
      return Format("%.2d%.2d%.2d%.2u", t.hour, t.minute, t.second, centiseconds);
    case 2:
      return Format("%.2d%.2d%.2d%.3u", t.hour, t.minute, t.second, milliseconds);
    case 3:
    case 5:
    case 8:
    case 11:
      return Format("%.2d%.2d%.2d", t.hour, t.minute, t.second);
    case 4:
    case 9:
    case 10:
    case 13:
      return Format("%.2d:%.2d:%.2d", t.hour, t.minute, t.second);
    case 6:
      return Format("%.2d:%.2d:%.2d:%.2u", t.hour, t.minute, t.second, centiseconds);
    case 7:
      return Format("%.2d.%.2d.%.2d.%.2u", t.hour, t.minute, t.second, centiseconds);
    case 12:
      return Format("%.3d", t.yearDay);
    case 14:
      return {};
    default:
      return Format("%.2d%.2d%.2d%.3u", t.hour, t.minute, t.second, milliseconds);
  }
}

}  // namespace

LocalTime CurrentLocalTime() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto sinceEpoch = duration_cast<milliseconds>(now.time_since_epoch()).count();
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  LocalTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(((sinceEpoch % 1000) + 1000) % 1000);
  t.weekday = local.tm_wday;
  t.yearDay = local.tm_yday;
  return t;
}

TimeStampTexts FormatTimeStamp(int mode, const LocalTime& moment) {
  const std::string year = YearText(moment.year);
  return {DateText(mode, moment, year), TimeText(mode, moment)};
}

TimeStampTexts FormatTimeStamp(int mode) { return FormatTimeStamp(mode, CurrentLocalTime()); }

}  // namespace f7301
