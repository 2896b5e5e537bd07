#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <limits>

#include "fake/fake_platform.h"

namespace mirane::numbers {
namespace {

using fake::Utf16;

TEST(Numbers, RoundsHalvesToEven) {
  const struct {
    double in, out;
  } cases[] = {{0.5, 0},   {1.5, 2}, {2.5, 2}, {3.5, 4},   {-0.5, 0}, {-1.5, -2},
               {-2.5, -2}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7, 7},    {1e15 + 0.5, 1e15}};
  for (const auto& c : cases) EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
}

TEST(Numbers, IntegerConversionsFailOutsideTheirRange) {
  EXPECT_EQ(ToInt16(32767.4), 32767);
  EXPECT_EQ(ToInt16(32767.5), std::nullopt);  // rounds to 32768
  EXPECT_EQ(ToInt16(-32768.5), -32768);       // the even neighbour is in range
  EXPECT_EQ(ToInt16(-32768.6), std::nullopt);
  EXPECT_EQ(ToInt16(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(ToInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
  EXPECT_EQ(ToInt32(2147483647.0), 2147483647);
  EXPECT_EQ(ToInt32(2147483647.5), std::nullopt);
  EXPECT_EQ(ToInt32(-2147483648.0), std::numeric_limits<std::int32_t>::min());
}

TEST(Numbers, TextIsANumberOnlyWhenWhollyOne) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"", std::nullopt},
      {" ", std::nullopt},
      {"2", 2},
      {" 2", 2},
      {" 7 ", 7},
      {"\t3\t", 3},
      {"2.9", 2.9},
      {"-0.5", -0.5},
      {"+3", 3},
      {".5", 0.5},
      {"5.", 5},
      {"1e1", 10},
      {"1E+2", 100},
      {"2.5e-1", 0.25},
      {"abc", std::nullopt},
      {"1e", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"2 3", std::nullopt},
      {"1,000", std::nullopt},
      {"2x", std::nullopt},
      {"&H10", std::nullopt},
      {"１", std::nullopt},
      {"1e999", std::nullopt},
      {"--1", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNumber(Utf16(c.text)), c.value) << c.text;
}

TEST(Numbers, LeadingNumberReadsAsFarAsItCan) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"1234", 1234}, {" 12 34", 1234}, {"1234x", 1234}, {"", 0},      {"abc", 0},
               {"x12", 0},     {"-5", -5},       {"12.5", 12.5},  {"1e2", 100}, {"1e", 1},
               {"1d3", 1000},  {"&H10", 16},     {"&hff", 255},   {"&O17", 15}, {"&HFFFFFFFF", -1},
               {"- 3", -3},    {"3-", 3},        {"..5", 0}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(Utf16(c.text)), c.value) << c.text;
}

TEST(Numbers, WrittenForms) {
  EXPECT_EQ(SignOrSpace(0), u" 0");
  EXPECT_EQ(SignOrSpace(2), u" 2");
  EXPECT_EQ(SignOrSpace(30), u" 30");
  EXPECT_EQ(SignOrSpace(-3), u"-3");
  EXPECT_EQ(SignOrSpace(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
  EXPECT_EQ(Hashes(0), u"");
  EXPECT_EQ(Hashes(7), u"7");
  EXPECT_EQ(Hashes(30), u"30");
  EXPECT_EQ(Hashes(123), u"123");
  EXPECT_EQ(Hashes(-4), u"-4");
}

TEST(Numbers, UpperCasesOnlyAsciiLetters) {
  EXPECT_EQ(UpperAscii(u"/s:1"), u"/S:1");
  EXPECT_EQ(UpperAscii(u"song.Mp3"), u"SONG.MP3");
  EXPECT_EQ(UpperAscii(u"ｍｐ３ß"), u"ｍｐ３ß");
}

}  // namespace
}  // namespace mirane::numbers
