#include "text/NumberText.h"

#include <gtest/gtest.h>

namespace vantorel::text {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText) {
    EXPECT_EQ(LeadingNumber("3"), 3.0);
    EXPECT_EQ(LeadingNumber("  12abc"), 12.0);
    EXPECT_EQ(LeadingNumber("3 apples"), 3.0);
    EXPECT_EQ(LeadingNumber("3分"), 3.0);
    EXPECT_EQ(LeadingNumber("-2.5x"), -2.5);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("1e3"), 1000.0);
    EXPECT_EQ(LeadingNumber("1e"), 1.0);  // an exponent without digits is not part of it
    EXPECT_EQ(LeadingNumber("5.0"), 5.0);
}

TEST(LeadingNumber, TextWithoutANumberReadsAsZero) {
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(LeadingNumber("abc"), 0.0);
    EXPECT_EQ(LeadingNumber("-"), 0.0);
    EXPECT_EQ(LeadingNumber("."), 0.0);
    EXPECT_EQ(LeadingNumber("0x10"), 0.0);
}

TEST(LeadingNumber, HugeNumbersStayFinite) {
    EXPECT_GT(LeadingNumber("1e999"), 1e300);
    EXPECT_LT(LeadingNumber("-1e999"), -1e300);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(3.5), 4.0);
    EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
}

TEST(ToClampedInt, ClampsInsteadOfFailing) {
    EXPECT_EQ(ToClampedInt(99999.0, 1, 32767), 32767);
    EXPECT_EQ(ToClampedInt(0.4, 1, 32767), 1);
    EXPECT_EQ(ToClampedInt(2.5, 1, 32767), 2);
    EXPECT_EQ(ToClampedInt(3.5, 1, 32767), 4);
}

TEST(TextToBoolean, UnderstandsBooleanTextsInAnyCaseAndNumbers) {
    EXPECT_EQ(TextToBoolean("True"), true);
    EXPECT_EQ(TextToBoolean("TRUE"), true);
    EXPECT_EQ(TextToBoolean("true"), true);
    EXPECT_EQ(TextToBoolean("False"), false);
    EXPECT_EQ(TextToBoolean("FALSE"), false);
    EXPECT_EQ(TextToBoolean(" 0 "), false);
    EXPECT_EQ(TextToBoolean("-1"), true);
    EXPECT_EQ(TextToBoolean("2.5"), true);
    EXPECT_EQ(TextToBoolean(""), std::nullopt);
    EXPECT_EQ(TextToBoolean("yes"), std::nullopt);
    EXPECT_EQ(TextToBoolean("3 apples"), std::nullopt);
    EXPECT_EQ(BooleanText(true), "True");
    EXPECT_EQ(BooleanText(false), "False");
}

TEST(TextToBoolean, OnlyAsciiLettersAndBlanksCount) {
    EXPECT_EQ(TextToBoolean("\tTrUe "), true);
    EXPECT_EQ(TextToBoolean("ＴＲＵＥ"), std::nullopt);  // full-width letters
    EXPECT_EQ(TextToBoolean("True\r"), std::nullopt);
    EXPECT_EQ(TextToBoolean("Truee"), std::nullopt);
}

TEST(DecimalText, PlainDigitsAndAMinusSign) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(-32768), "-32768");
    EXPECT_EQ(DecimalText(1234567), "1234567");  // no grouping
}

}  // namespace
}  // namespace vantorel::text
