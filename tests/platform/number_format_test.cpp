#include "platform/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace marksend {
namespace {

TEST(NumberFormat, Patterns) {
  struct Case {
    double value;
    const char* whole;       // "###0"
    const char* oneDecimal;  // "###0.#"
  };
  const double below = 0;  // std::nextafter(x, below): the double just below x in magnitude
  const Case cases[] = {
      {0, "0", "0"},
      {-0.0, "0", "0"},
      {7, "7", "7"},
      {7.04, "7", "7"},
      {7.05, "7", "7"},  // held as 7.04999999999999982
      {12.25, "12", "12.3"},
      {12.5, "13", "12.5"},
      {37.5, "38", "37.5"},
      {0.5, "1", "0.5"},
      {0.25, "0", "0.3"},
      {0.15, "0", "0.1"},  // held as 0.149999999999999994
      {2.55, "3", "2.5"},  // held as 2.54999999999999982
      {2.45, "2", "2.5"},  // held as 2.45000000000000018
      {0.05, "0", "0.1"},
      {0.049, "0", "0"},
      {9.96, "10", "10"},
      {99.95, "100", "100"},
      {999.5, "1000", "999.5"},
      {std::nextafter(0.5, below), "0", "0.5"},
      {std::nextafter(2.5, below), "2", "2.5"},
      {std::nextafter(0.25, below), "0", "0.2"},
      {std::nextafter(12.25, below), "12", "12.2"},
      {-0.4, "0", "-0.4"},
      {-0.04, "0", "0"},
      {-0.5, "-1", "-0.5"},
      {-2.5, "-3", "-2.5"},
      {-2.45, "-2", "-2.5"},
      {-2.55, "-3", "-2.5"},
      {-12.25, "-12", "-12.3"},
      {std::nextafter(-2.5, below), "-2", "-2.5"},
      {std::nextafter(-0.25, below), "0", "-0.2"},
      {-7.96, "-8", "-8"},
      {1e-300, "0", "0"},
      {1e20, "100000000000000000000", "100000000000000000000"},
      {-1e20, "-100000000000000000000", "-100000000000000000000"},
      {123456789012345678.0, "123456789012345680", "123456789012345680"},
      {4503599627370495.5, "4503599627370496", "4503599627370495.5"},
      {std::numeric_limits<double>::quiet_NaN(), "0", "0"},
      {std::numeric_limits<double>::infinity(), "0", "0"},
      {-std::numeric_limits<double>::infinity(), "0", "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatWhole(c.value), c.whole) << "value " << c.value;
    EXPECT_EQ(FormatOneDecimal(c.value), c.oneDecimal) << "value " << c.value;
  }
}

TEST(NumberFormat, LargestDoubleKeepsEighteenDigitsAndPadsWithZeros) {
  const std::string expected = "179769313486231571" + std::string(291, '0');
  EXPECT_EQ(FormatWhole(std::numeric_limits<double>::max()), expected);
  EXPECT_EQ(FormatOneDecimal(-std::numeric_limits<double>::max()), "-" + expected);
}

}  // namespace
}  // namespace marksend
