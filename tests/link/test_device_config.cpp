// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/DeviceConfig.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(DeviceConfig, OnlySlotZeroIsEverUsed) {
    struct Case {
        std::uint16_t Count, Active, ExpectedCount;
    };
    const Case cases[] = {{3, 2, 1}, {1, 0, 1}, {0, 0, 0}, {0, 5, 0}, {0xFFFF, 0xFFFF, 1}};
    for (const auto& c : cases) {
        TDeviceConfig config;
        std::memset(&config, 0xA7, sizeof config);
        config.InstrumentCodePage = 5;
        config.ProjectCount = c.Count;
        config.ActiveProject = c.Active;
        TDeviceConfig before = config;

        ApplyConfigLimits(config);
        EXPECT_EQ(std::uint16_t{config.ProjectCount}, c.ExpectedCount) << c.Count;
        EXPECT_EQ(std::uint16_t{config.ActiveProject}, 0) << c.Active;
        // Everything else goes back to the instrument as it came.
        before.ProjectCount = config.ProjectCount;
        before.ActiveProject = 0;
        EXPECT_EQ(std::memcmp(&before, &config, sizeof config), 0);
    }
}

TEST(DeviceConfig, FieldsSitWhereTheInstrumentKeepsThem) {
    std::uint8_t image[100] = {};
    image[48] = 0x34;
    image[49] = 0x12;
    image[50] = 2;
    image[52] = 3;
    TDeviceConfig config;
    std::memcpy(&config, image, sizeof image);
    EXPECT_EQ(std::uint16_t{config.InstrumentCodePage}, 0x1234);
    EXPECT_EQ(std::uint16_t{config.ActiveProject}, 2);
    EXPECT_EQ(std::uint16_t{config.ProjectCount}, 3);
}
