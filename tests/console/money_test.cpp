#include "console/money.h"

#include <gtest/gtest.h>

namespace {

struct MoneyCase {
    float amount;
    const char* printed;
};

class MoneyFormat : public testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyFormat, PrintsSixSignificantDigitsInGeneralNotation)
{
    EXPECT_EQ(formatMoney(GetParam().amount), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(Amounts, MoneyFormat, testing::Values(
    MoneyCase{1000.0f, "1000"}, MoneyCase{1002.5f, "1002.5"}, MoneyCase{997.5f, "997.5"},
    MoneyCase{7.5f, "7.5"}, MoneyCase{0.5f, "0.5"}, MoneyCase{0.0f, "0"}, MoneyCase{-0.0f, "0"},
    MoneyCase{100000.0f, "100000"}, MoneyCase{123456.5f, "123457"}, MoneyCase{999999.5f, "1e+006"},
    MoneyCase{1000000.0f, "1e+006"}, MoneyCase{1234567.0f, "1.23457e+006"},
    MoneyCase{1500000.0f, "1.5e+006"}, MoneyCase{-22.5f, "-22.5"}, MoneyCase{-1500000.0f, "-1.5e+006"},
    // The edges of the two notations: fixed from 1e-4 up to just below 1e6.
    MoneyCase{999999.0f, "999999"}, MoneyCase{0.0001f, "0.0001"}, MoneyCase{0.00001f, "1e-005"},
    MoneyCase{123456.25f, "123456"}, MoneyCase{2.5e10f, "2.5e+010"}));

} // namespace
