#include <gtest/gtest.h>

#include "decode/Decode.h"

namespace popmail::decode {
namespace {

TEST(Summary, PlainFields) {
    EXPECT_EQ(SummarizeHeaders("Subject: hi\r\nFrom: a@b\r\nDate: x\r\n\r\n"),
              "Subject:hi\tFrom:a@b\tDate:x");
}

}  // namespace
}  // namespace popmail::decode
