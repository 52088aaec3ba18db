#include "run/linear_regression.h"

#include <cmath>

void TLinearRegression::Clear()
{
    FRegressionRec = TRegressionRec();
}

int TLinearRegression::Add(double x, double y)
{
    TRegressionRec &r = FRegressionRec;
    ++r.Count;
    const double n = r.Count;
    r.AvgX = r.AvgX * (n - 1.0) / n + x / n;
    r.AvgY = r.AvgY * (n - 1.0) / n + y / n;
    r.AvgXX = r.AvgXX * (n - 1.0) / n + x * x / n;
    r.AvgYY = r.AvgYY * (n - 1.0) / n + y * y / n;
    r.AvgXY = r.AvgXY * (n - 1.0) / n + x * y / n;
    return r.Count;
}

double TLinearRegression::Interpolate(double x) const
{
    return Slope() * x + Intercept();
}

double TLinearRegression::CovarianceXX() const
{
    return FRegressionRec.AvgXX - FRegressionRec.AvgX * FRegressionRec.AvgX;
}

double TLinearRegression::CovarianceYY() const
{
    return FRegressionRec.AvgYY - FRegressionRec.AvgY * FRegressionRec.AvgY;
}

double TLinearRegression::CovarianceXY() const
{
    return FRegressionRec.AvgXY - FRegressionRec.AvgX * FRegressionRec.AvgY;
}

double TLinearRegression::Correlation() const
{
    const double cxx = CovarianceXX();
    const double cyy = CovarianceYY();
    if (cxx == 0.0 || cyy == 0.0)
        return 1.0;
    return CovarianceXY() / std::sqrt(cxx * cyy);
}

double TLinearRegression::Intercept() const
{
    const TRegressionRec &r = FRegressionRec;
    return (r.AvgY * r.AvgXX - r.AvgX * r.AvgXY) / CovarianceXX();
}

double TLinearRegression::Slope() const
{
    return CovarianceXY() / CovarianceXX();
}
