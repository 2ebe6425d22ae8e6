#include "declaration/time_stamp.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <ctime>
#include <string>

namespace f7301 {
namespace {

// Friday 5 March 2004, 09:07:03.045 (day 64 of a leap year).
constexpr LocalTime kMorning{2004, 3, 5, 9, 7, 3, 45, 5, 64};

struct Layout {
  int mode;
  const char* date;
  const char* time;
};

TEST(TimeStamp, EveryModeAtOneMoment) {
  const Layout layouts[] = {
      {1, "05032004", "09070304"},
      {2, "05032004", "090703045"},
      {3, "05032004", "090703"},
      {4, "2004:03:05", "09:07:03"},
      {5, "20040305", "090703"},
      {6, "2004:03:05", "09:07:03:04"},
      {7, "2004.03.05", "09.07.03.04"},
      {8, "05/03/2004", "090703"},
      {9, " Viernes 05 de Marzo de 2004", "09:07:03"},
      {10, "05/Marzo/2004", "09:07:03"},
      {11, "05032004", "090703"},
      {12, "2004", "064"},
      {13, "05/03/2004", "09:07:03"},
      {14, "Viernes", ""},
  };
  for (const Layout& l : layouts) {
    const TimeStampTexts t = FormatTimeStamp(l.mode, kMorning);
    EXPECT_EQ(t.date, l.date) << "mode " << l.mode;
    EXPECT_EQ(t.time, l.time) << "mode " << l.mode;
  }
}

TEST(TimeStamp, SealStampIsSeventeenDigits) {
  const TimeStampTexts t = FormatTimeStamp(2, kMorning);
  EXPECT_EQ(t.date + t.time, "05032004090703045");
  const TimeStampTexts now = FormatTimeStamp(2);
  const std::string stamp = now.date + now.time;
  ASSERT_EQ(stamp.size(), 17u) << stamp;
  for (char c : stamp) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << stamp;
}

TEST(TimeStamp, AnyOtherModeUsesTheLastLayout) {
  for (int mode : {0, -1, -2147483647 - 1, 15, 16, 1000}) {
    const TimeStampTexts t = FormatTimeStamp(mode, kMorning);
    EXPECT_EQ(t.date, "20040305") << mode;
    EXPECT_EQ(t.time, "090703045") << mode;
  }
}

TEST(TimeStamp, SpanishNamesAndTheLongestText) {
  const LocalTime sunday{2004, 1, 4, 23, 59, 59, 999, 0, 3};
  EXPECT_EQ(FormatTimeStamp(9, sunday).date, " Domingo 04 de Enero de 2004");
  EXPECT_EQ(FormatTimeStamp(10, sunday).date, "04/Enero/2004");
  EXPECT_EQ(FormatTimeStamp(1, sunday).time, "23595999");

  const LocalTime wednesday{2003, 9, 24, 0, 0, 0, 0, 3, 266};
  const TimeStampTexts longest = FormatTimeStamp(9, wednesday);
  EXPECT_EQ(longest.date, " Miercoles 24 de Septiembre de 2003");
  EXPECT_EQ(longest.date.size(), 35u);
  EXPECT_EQ(longest.time, "00:00:00");
  EXPECT_EQ(FormatTimeStamp(14, LocalTime{2003, 12, 27, 0, 0, 0, 0, 6, 360}).date, "Sabado");
}

TEST(TimeStamp, DayOfTheYearCountsFromZero) {
  EXPECT_EQ(FormatTimeStamp(12, LocalTime{2004, 1, 1, 0, 0, 0, 0, 4, 0}).time, "000");
  EXPECT_EQ(FormatTimeStamp(12, LocalTime{2004, 12, 31, 0, 0, 0, 0, 5, 365}).time, "365");
}

TEST(TimeStamp, YearIsAlwaysFourCharacters) {
  EXPECT_EQ(FormatTimeStamp(12, LocalTime{987, 1, 1, 0, 0, 0, 0, 0, 0}).date, "0987");
  EXPECT_EQ(FormatTimeStamp(2, LocalTime{987, 1, 1, 0, 0, 0, 0, 0, 0}).date, "01010987");
}

TEST(TimeStamp, NamesOutOfRangeAreEmptyNotGarbage) {
  const LocalTime odd{2004, 13, 5, 9, 7, 3, 45, 7, 64};
  EXPECT_EQ(FormatTimeStamp(9, odd).date, "  05 de  de 2004");
  EXPECT_EQ(FormatTimeStamp(14, odd).date, "");
}

// The clock's reading to the minute (with the weekday and the day of the year), as the C library's
// own formatting of the local time writes it; the reading is taken between two such readings, so it
// matches one of them even when the minute, day or month turns.
std::string MinuteText(const LocalTime& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d w%d d%03d", t.year, t.month, t.day,
                t.hour, t.minute, t.weekday, t.yearDay + 1);
  return text;
}

std::string SystemMinuteText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M w%w d%j", &local);
  return text;
}

TEST(TimeStamp, TheClockReadsTheSystemsLocalTime) {
  const std::string before = SystemMinuteText();
  const LocalTime now = CurrentLocalTime();
  const std::string after = SystemMinuteText();
  const std::string read = MinuteText(now);
  EXPECT_TRUE(read == before || read == after)
      << read << " read between " << before << " and " << after;
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LE(now.millisecond, 999);
}

}  // namespace
}  // namespace f7301
