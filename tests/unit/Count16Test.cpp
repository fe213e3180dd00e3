#include "settings/Count16.h"

#include <gtest/gtest.h>

#include "platform/RuntimeFailure.h"

namespace vantorel {
namespace {

TEST(ToInt16, OutOfRangeIsARuntimeFailure) {
    EXPECT_EQ(ToInt16(32767.0), 32767);
    EXPECT_EQ(ToInt16(-32768.0), -32768);
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_THROW(ToInt16(32767.5), RuntimeFailure);  // rounds to 32768
    EXPECT_THROW(ToInt16(-40000.0), RuntimeFailure);
    EXPECT_THROW(Add16(32767, 1), RuntimeFailure);
    EXPECT_THROW(Sub16(-32768, 1), RuntimeFailure);
    EXPECT_EQ(Sub16(3, 5), -2);
}

}  // namespace
}  // namespace vantorel
