#include "runtime/format.hpp"

#include <gtest/gtest.h>

namespace rankora::rt {
namespace {

TEST(FormatReal, Placeholder) { EXPECT_EQ(format_real(0.5, 10, 5), "   0.50000"); }

}  // namespace
}  // namespace rankora::rt
