// Day numbers of the 1900 date system and back.
#include "engine/model/date_serial.h"

#include <gtest/gtest.h>

using namespace engine;

namespace {

TEST(DateSerialTest, NineteenHundredDateSystemWithItsLeapDay) {
    EXPECT_EQ(dateSerial({1900, 1, 1}), 1);
    EXPECT_EQ(dateSerial({1900, 2, 28}), 59);
    EXPECT_EQ(dateSerial({1900, 2, 29}), 60);
    EXPECT_EQ(dateSerial({1900, 3, 1}), 61);
    EXPECT_EQ(dateSerial({2024, 3, 1}), 45352);
    EXPECT_EQ(dateSerial({9999, 12, 31}), 2958465);
    EXPECT_EQ(dateSerial({1899, 12, 31}), std::nullopt);
    EXPECT_EQ(dateSerial({10000, 1, 1}), std::nullopt);
    EXPECT_EQ(dateSerial({2023, 2, 29}), std::nullopt);

    EXPECT_EQ(civilDate(60), (CivilDate{1900, 2, 29}));
    EXPECT_EQ(civilDate(0), std::nullopt);
    EXPECT_EQ(civilDate(2958466), std::nullopt);
    for (int serial = 1; serial <= 2958465; serial += 97) {
        const std::optional<CivilDate> date = civilDate(serial);
        ASSERT_TRUE(date) << serial;
        EXPECT_EQ(dateSerial(*date), serial);
    }
}

}  // namespace
