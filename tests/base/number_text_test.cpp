#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorl {
namespace {

TEST(FormatFloat, GeneralFormWithFifteenDigits) {
  EXPECT_EQ(FormatFloat(1.0), "1");
  EXPECT_EQ(FormatFloat(-2.0), "-2");
  EXPECT_EQ(FormatFloat(0.6), "0.6");
  EXPECT_EQ(FormatFloat(0.0), "0");
  EXPECT_EQ(FormatFloat(-0.0), "0");
  EXPECT_EQ(FormatFloat(1.5707963267948966), "1.5707963267949");
  EXPECT_EQ(FormatFloat(123456.789), "123456.789");
  EXPECT_EQ(FormatFloat(0.00001), "0.00001");
  EXPECT_EQ(FormatFloat(0.000001), "1E-6");
  EXPECT_EQ(FormatFloat(-2.5e-7), "-2.5E-7");
  EXPECT_EQ(FormatFloat(1e14), "100000000000000");
  EXPECT_EQ(FormatFloat(1e15), "1E15");
  EXPECT_EQ(FormatFloat(1.25e20), "1.25E20");
  // Rounding to 15 digits can carry into a new exponent.
  EXPECT_EQ(FormatFloat(999999999999999.9), "1E15");
  EXPECT_EQ(FormatFloat(0.1 + 0.2), "0.3");
}

TEST(ParseFloat, AcceptsPointAndCommaRejectsJunk) {
  EXPECT_EQ(ParseFloat("1.5"), 1.5);
  EXPECT_EQ(ParseFloat("1,5"), 1.5);
  EXPECT_EQ(ParseFloat(" -2 "), -2.0);
  EXPECT_EQ(ParseFloat("+3"), 3.0);
  EXPECT_EQ(ParseFloat("1E-6"), 1e-6);
  EXPECT_EQ(ParseFloat("2.5e3"), 2500.0);
  EXPECT_FALSE(ParseFloat(""));
  EXPECT_FALSE(ParseFloat("abc"));
  EXPECT_FALSE(ParseFloat("1.2.3"));
  EXPECT_FALSE(ParseFloat("1,000.5"));
  EXPECT_FALSE(ParseFloat("nan"));
  EXPECT_FALSE(ParseFloat("inf"));
  EXPECT_FALSE(ParseFloat("-INF"));
  EXPECT_FALSE(ParseFloat("1e999"));
  EXPECT_FALSE(ParseFloat("12abc"));
}

TEST(ParseFloat, RoundTripsEveryWrittenValue) {
  for (double v : {0.6, -0.3, 1.0 / 3.0, 123.456, 1e-7, 6.02e23, -1.0e300}) {
    const auto back = ParseFloat(FormatFloat(v));
    ASSERT_TRUE(back) << v;
    EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14) << v;
  }
}

TEST(ParseInt, DecimalAndBothHexForms) {
  EXPECT_EQ(ParseInt("1000"), 1000);
  EXPECT_EQ(ParseInt("-42"), -42);
  EXPECT_EQ(ParseInt("0x3E8"), 1000);
  EXPECT_EQ(ParseInt("0X3e8"), 1000);
  EXPECT_EQ(ParseInt("$3E8"), 1000);
  EXPECT_EQ(ParseInt("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt("-2147483648"), -2147483647 - 1);
  EXPECT_FALSE(ParseInt("2147483648"));
  EXPECT_FALSE(ParseInt("abc"));
  EXPECT_FALSE(ParseInt(""));
  EXPECT_FALSE(ParseInt("0x"));
  EXPECT_FALSE(ParseInt("$"));
  EXPECT_FALSE(ParseInt("1.5"));
  EXPECT_FALSE(ParseInt("99999999999999999999999"));
  EXPECT_FALSE(ParseInt("-9223372036854775808"));
  EXPECT_FALSE(ParseInt("-0x8000000000000000"));
  EXPECT_FALSE(ParseInt("-18446744073709551615"));
}

}  // namespace
}  // namespace quorl
