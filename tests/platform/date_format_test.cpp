#include "platform/date_format.h"

#include <gtest/gtest.h>

#include <ctime>

#include "platform/error.h"

namespace marksend {
namespace {

DateTime D(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return DateTime{y, mo, d, h, mi, s}; }

TEST(DateFormat, BuddhistBirthDateText) {
  EXPECT_EQ(BuddhistBirthDateText(D(2008, 3, 5)), "05/03/2551");
  EXPECT_EQ(BuddhistBirthDateText(DateTime{}), "30/12/2442");  // a NULL birth date
  EXPECT_EQ(BuddhistBirthDateText(D(2010, 11, 28, 13, 45, 10)), "28/11/2553");  // time ignored
}

TEST(DateFormat, DateTimeTextAddsTimeOnlyWhenNotMidnight) {
  EXPECT_EQ(DateTimeText(D(2023, 5, 16)), "16/05/2023");
  EXPECT_EQ(DateTimeText(D(2023, 5, 16, 0, 0, 1)), "16/05/2023 00:00:01");
  EXPECT_EQ(DateTimeText(D(2023, 12, 1, 9, 5, 0)), "01/12/2023 09:05:00");
  EXPECT_EQ(DateTimeText(D(999, 1, 2)), "02/01/0999");
}

TEST(DateFormat, ParsesIsoForms) {
  const struct {
    const char* text;
    DateTime expected;
  } cases[] = {
      {"2008-03-05", D(2008, 3, 5)},
      {"2008-03-05 14:07", D(2008, 3, 5, 14, 7)},
      {"2008-03-05T14:07:09", D(2008, 3, 5, 14, 7, 9)},
      {"2008-03-05 23:59:59.999", D(2008, 3, 5, 23, 59, 59)},
      {"2008-03-05T00:00:00Z", D(2008, 3, 5)},
      {"2024-02-29", D(2024, 2, 29)},
      {"2000-02-29", D(2000, 2, 29)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIsoDateTime(c.text), c.expected) << c.text;
}

TEST(DateFormat, RejectsOtherTextNamingIt) {
  for (const char* text : {"", "2008-3-5", "05/03/2008", "2008-13-01", "2008-00-10", "2008-04-31",
                           "2023-02-29", "1900-02-29", "0000-01-01", "2008-03-05 24:00", "2008-03-05 12:60",
                           "2008-03-05 12:00:61", "2008-03-05x", "2008-03-05 12", "2008-03-05 12:00:00.",
                           "2008-03-05Z", "2008-03-05 12:00+07:00", " 2008-03-05"}) {
    try {
      ParseIsoDateTime(text);
      ADD_FAILURE() << "accepted \"" << text << "\"";
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + std::string(text) + "\""), std::string::npos) << e.what();
    }
    DateTime untouched = D(1, 2, 3);
    EXPECT_FALSE(TryParseIsoDateTime(text, untouched)) << text;
    EXPECT_EQ(untouched, D(1, 2, 3));
  }
}

TEST(DateFormat, TodayIsTheLocalDateAtMidnight) {
  const std::time_t before = std::time(nullptr);
  const DateTime today = Today();
  const std::time_t after = std::time(nullptr);
  // The day may turn between the two clock readings; either side is right.
  auto localDate = [](std::time_t when) {
    std::tm t{};
    localtime_r(&when, &t);
    return D(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  };
  const bool matches = today == localDate(before) || today == localDate(after);
  EXPECT_TRUE(matches) << DateTimeText(today);
}

}  // namespace
}  // namespace marksend
