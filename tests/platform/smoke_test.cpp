#include <gtest/gtest.h>
#include <QImage>
TEST(Smoke, ImageWorksOffscreen) { QImage i(4, 4, QImage::Format_ARGB32); EXPECT_FALSE(i.isNull()); }
