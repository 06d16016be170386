#include <gtest/gtest.h>

#include "device/draw_panel.h"

namespace {

TEST(CopyTouchesClient, CountsTheClientAreaEdgesAsTouching) {
    EXPECT_TRUE(device::CopyTouchesClient(0, 0, 1, 1, 40, 30));
    EXPECT_TRUE(device::CopyTouchesClient(40, 30, 1, 1, 40, 30));  // starts right at the edge
    EXPECT_TRUE(device::CopyTouchesClient(-5, -5, 5, 5, 40, 30));   // ends right at the corner
    EXPECT_FALSE(device::CopyTouchesClient(41, 0, 1, 1, 40, 30));
    EXPECT_FALSE(device::CopyTouchesClient(-6, 0, 5, 5, 40, 30));
    EXPECT_FALSE(device::CopyTouchesClient(0, 0, 0, 1, 40, 30));
    EXPECT_FALSE(device::CopyTouchesClient(0, 0, 1, -1, 40, 30));
}

}  // namespace
