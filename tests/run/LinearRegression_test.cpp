#include "run/linear_regression.h"

#include <gtest/gtest.h>

#include <cmath>

// Expected values worked out separately with the same running-mean updates.
TEST(LinearRegression, ThreePoints_GivesCovariancesSlopeInterceptCorrelation)
{
    TLinearRegression reg;
    EXPECT_EQ(reg.Add(1, 2), 1);
    EXPECT_EQ(reg.Add(2, 4), 2);
    EXPECT_EQ(reg.Add(3, 6.5), 3);

    EXPECT_EQ(reg.Count(), 3);
    EXPECT_NEAR(reg.AverageX(), 2.0, 1e-12);
    EXPECT_NEAR(reg.AverageY(), 12.5 / 3, 1e-12);
    EXPECT_NEAR(reg.CovarianceXX(), 2.0 / 3, 1e-12);
    EXPECT_NEAR(reg.CovarianceYY(), 3.388888888888893, 1e-12);
    EXPECT_NEAR(reg.CovarianceXY(), 1.5, 1e-12);
    EXPECT_NEAR(reg.Slope(), 2.25, 1e-12);
    EXPECT_NEAR(reg.Intercept(), -1.0 / 3, 1e-12);
    EXPECT_NEAR(reg.Correlation(), 0.9979487157886737, 1e-12);
    EXPECT_NEAR(reg.Interpolate(4), 2.25 * 4 - 1.0 / 3, 1e-12);
}

TEST(LinearRegression, ZeroVariance_CorrelationIsOneButSlopeIsNotFinite)
{
    TLinearRegression sameX;
    sameX.Add(2, 1);
    sameX.Add(2, 3);
    EXPECT_EQ(sameX.Correlation(), 1.0);
    EXPECT_FALSE(std::isfinite(sameX.Slope()));
    EXPECT_FALSE(std::isfinite(sameX.Intercept()));

    TLinearRegression sameY;
    sameY.Add(1, 5);
    sameY.Add(2, 5);
    EXPECT_EQ(sameY.Correlation(), 1.0);
    EXPECT_EQ(sameY.Slope(), 0.0);
    EXPECT_EQ(sameY.Intercept(), 5.0);

    TLinearRegression empty;
    EXPECT_EQ(empty.Correlation(), 1.0);
    EXPECT_FALSE(std::isfinite(empty.Slope()));
}

TEST(LinearRegression, Clear_StartsAgain)
{
    TLinearRegression reg;
    reg.Add(5, 7);
    reg.Add(6, 9);
    reg.Clear();
    EXPECT_EQ(reg.Count(), 0);
    EXPECT_EQ(reg.AverageX(), 0.0);
    reg.Add(0, 0);
    reg.Add(1, 1);
    EXPECT_DOUBLE_EQ(reg.Slope(), 1.0);
    EXPECT_DOUBLE_EQ(reg.Intercept(), 0.0);
}
