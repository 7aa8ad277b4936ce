// The checked rounding: halves to even, and an error instead of a wrapped value.
#include "platform/arrondi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(0.49999999999999994), 0);
  EXPECT_EQ(Round(-0.49999999999999994), 0);
  EXPECT_EQ(Round(2.5000000000000004), 3);
  EXPECT_EQ(Round(16.5), 16);
  EXPECT_EQ(Round(33 * 0.333), 11);
  EXPECT_EQ(Round(2147483647.4), 2147483647);
  EXPECT_EQ(Round(-2147483648.5), -2147483648);
  EXPECT_EQ(Trunc(-2.7), -2);
  EXPECT_EQ(Trunc(2.7), 2);
  EXPECT_EQ(Trunc(-2147483648.9), -2147483648);
}

TEST(Rounding, UnrepresentableValuesRaise) {
  const double bad[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity(), 2147483648.0, -2147483649.0,
                        2147483647.5};
  for (double v : bad) {
    EXPECT_THROW(Round(v), ModelError) << v;
  }
  EXPECT_THROW(Trunc(std::nan("")), ModelError);
  EXPECT_THROW(Trunc(2147483648.0), ModelError);
  EXPECT_THROW(Trunc(-2147483649.0), ModelError);
}
