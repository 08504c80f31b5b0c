// SPDX-License-Identifier: GPL-3.0-or-later
#include <QImage>

#include <gtest/gtest.h>

// The windows take the program's icon from the widgets library's resources; a static library drops
// resources that nothing links in.
TEST(ProgramIcon, IsLinkedWithTheWindows) {
    const QImage icon(QStringLiteral(":/zrv10/zrv10.png"));
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(256, 256));
}
