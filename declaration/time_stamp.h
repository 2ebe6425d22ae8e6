#pragma once
// Short date and time texts in fifteen fixed layouts. The seal uses mode 2
// (ddmmyyyy + hhmmssmmm, 17 characters); the other layouts serve any caller.
#include <string>

namespace f7301 {

// One reading of the local clock.
struct LocalTime {
  int year = 0;         // e.g. 2004
  int month = 1;        // 1 to 12
  int day = 1;          // 1 to 31
  int hour = 0;         // 0 to 23
  int minute = 0;       // 0 to 59
  int second = 0;       // 0 to 60
  int millisecond = 0;  // 0 to 999
  int weekday = 0;      // 0 = Sunday
  int yearDay = 0;      // 0 = 1 January
};

// The local time now, with milliseconds.
LocalTime CurrentLocalTime();

struct TimeStampTexts {
  std::string date;
  std::string time;
};

// The date and time texts of `moment` in the layout of `mode`. Modes 1 to 14
// have their own layouts; every other number gives yyyymmdd + hhmmssmmm.
TimeStampTexts FormatTimeStamp(int mode, const LocalTime& moment);

// The same, for the current local time.
TimeStampTexts FormatTimeStamp(int mode);

}  // namespace f7301
