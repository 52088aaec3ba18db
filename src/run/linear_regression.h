#pragma once

// Least-squares line through (x, y) points, kept as running means rather than sums so
// that adding a point never grows the magnitudes involved.
struct TRegressionRec
{
    int Count = 0;
    double AvgX = 0.0;
    double AvgY = 0.0;
    double AvgXX = 0.0;
    double AvgYY = 0.0;
    double AvgXY = 0.0;
};

class TLinearRegression
{
public:
    TLinearRegression() = default;

    void Clear();
    // Adds one point; returns the new count.
    int Add(double x, double y);
    // Slope * x + Intercept.
    double Interpolate(double x) const;

    int Count() const { return FRegressionRec.Count; }
    double AverageX() const { return FRegressionRec.AvgX; }
    double AverageY() const { return FRegressionRec.AvgY; }
    double CovarianceXX() const;
    double CovarianceYY() const;
    double CovarianceXY() const;
    // 1 when either variance is 0.
    double Correlation() const;
    // No guard: with fewer than two distinct x these divide by zero and give inf or NaN;
    // the caller checks the results.
    double Intercept() const;
    double Slope() const;

    const TRegressionRec &RegressionRec() const { return FRegressionRec; }

private:
    TRegressionRec FRegressionRec;
};
