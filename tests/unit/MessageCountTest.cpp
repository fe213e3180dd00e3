// The count the program reads from the mail library's STAT element.

#include "mail/MessageCount.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/RuntimeFailure.h"

namespace vantorel {
namespace {

TEST(MessageCount, TheLibrarysFormIsCountSpaceSize) {
    EXPECT_EQ(MessageCountOf("3 456"), 3);
    EXPECT_EQ(MessageCountOf("0 0"), 0);
    EXPECT_EQ(MessageCountOf("7 4"), 7);
    EXPECT_EQ(MessageCountOf("32767 1"), 32767);
}

TEST(MessageCount, OtherFormsAreReadByTheNumberBeforeTheFirstSpace) {
    const std::pair<const char*, int> cases[] = {
        {"12abc 99", 12}, {"007 4", 7}, {"3  4", 3}, {"3 4 extra", 3}, {"2.5 1", 2}, {"3.5 1", 4},
        {"-4 0", -4},     {"\t5 1", 5}, {" 7", 0},   {"  3 4", 0},     {"x 1", 0},   {" ", 0}};
    for (const auto& [element, count] : cases) {
        EXPECT_EQ(MessageCountOf(element), count) << '"' << element << '"';
    }
}

TEST(MessageCount, NoSpaceOrA16BitOverflowIsARunTimeFailure) {
    for (const char* element : {"", "3", "3\t4", "32768 1", "40000 1", "-40000 1", "1e9 1"}) {
        EXPECT_THROW(MessageCountOf(element), RuntimeFailure) << '"' << element << '"';
    }
}

}  // namespace
}  // namespace vantorel
