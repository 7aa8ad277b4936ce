#include "platform/nombres.h"

#include <gtest/gtest.h>

#include <climits>

// The field parsers of documents and option files refuse anything but a plain
// number, and never wrap a value outside 32 bits.
TEST(NumberParsers, PlainNumbersOnly) {
  EXPECT_EQ(platform::convertir_entier("  -42"), -42);
  EXPECT_EQ(platform::convertir_entier("+7"), 7);
  EXPECT_EQ(platform::convertir_entier("-2147483648"), INT32_MIN);
  EXPECT_FALSE(platform::convertir_entier("2147483648"));
  EXPECT_FALSE(platform::convertir_entier("12 "));
  EXPECT_FALSE(platform::convertir_entier("1x"));
  EXPECT_FALSE(platform::convertir_entier(""));
  EXPECT_FALSE(platform::convertir_entier("-"));
  EXPECT_EQ(platform::convertir_entier_ligne("\t 12 \t"), 12);
  EXPECT_EQ(platform::convertir_reel(" -2.5e1 "), -25.0);
  EXPECT_EQ(platform::convertir_reel(".5"), 0.5);
  EXPECT_FALSE(platform::convertir_reel("inf"));
  EXPECT_FALSE(platform::convertir_reel("1.0 2"));
}
