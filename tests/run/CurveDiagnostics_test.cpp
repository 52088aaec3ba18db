// Curve diagnostics of calculated runs against values computed independently with R
// (Debian's r-base-core). Each case's expected numbers come from its diag(...) line below,
// run in Rscript after these lines:
//
//   options(digits = 17)
//   diag <- function(conc, a, b, sample) {
//     m <- colMeans(rbind(a, b), na.rm = TRUE); fitted <- conc > 0 & m != 0
//     x <- log(conc[fitted]); y <- log(m[fitted]); n <- length(x)
//     fit <- lm(y ~ x); a0 <- coef(fit)[[1]]; b0 <- coef(fit)[[2]]
//     back <- exp((y - a0) / b0); print(cbind(back, 100 * back / conc[fitted], residuals(fit)))
//     x0 <- (log(sample) - a0) / b0; print(exp(x0))
//     if (n > 2) { s <- summary(fit)$sigma; print(s)
//       hw <- qt(0.975, n - 2) * (s / abs(b0)) * sqrt(1 + 1/n + (x0 - mean(x))^2 / sum((x - mean(x))^2))
//       print(cbind(exp(x0 - hw), exp(x0 + hw))) } }
//   c8 <- c(8, 4, 2, 1, 0.5, 0.25, 0.125, 0); c4 <- c(4, 1, 0.25, 0)

#include "RunTestHelpers.h"

#include "run/CurveDiagnostics.h"
#include "run/RunCalculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

using namespace RunTest;
using namespace Qt::StringLiterals;

namespace {

constexpr double RelativeTolerance = 1e-9;

void ExpectClose(double actual, double expected, const char *what)
{
    // A residual of an exact fit is 0 in R and a few ulps here.
    EXPECT_NEAR(actual, expected, RelativeTolerance * std::fabs(expected) + 1e-14) << what;
}

struct ExpectedStandard
{
    const char *name;
    double backCalculated;
    double recoveryPercent;
    double residual;
};

struct ExpectedSubject
{
    std::optional<TPredictionInterval> interval;
    bool below = false;
    bool above = false;
};

struct DiagnosticsCase
{
    const char *name;
    TCurveType curve;
    QStringList seriesA;
    QStringList seriesB;
    QStringList samples; // down grid column 3
    std::vector<ExpectedStandard> standards;
    std::optional<double> fitStandardError;
    QStringList outOfOrder;
    std::vector<ExpectedSubject> subjects;
};

const DiagnosticsCase Cases[] = {
    // The example plate (examples/plate-8point.txt): columns 1 and 2, then A3, F10 (above
    // the curve's range), D7 ("OVER"), G12 (N/S) and an OD of 0.
    // diag(c8, c(2.412, 1.348, 0.721, 0.382, 0.201, 0.112, 0.071, 0.046),
    //      c(2.388, 1.362, 0.716, 0.378, 0.198, 0.108, 0.069, 0.044), c(0.171, 3.127))
    {"ExamplePlate",
     CURVE_8POINT,
     {u"2.412"_s, u"1.348"_s, u"0.721"_s, u"0.382"_s, u"0.201"_s, u"0.112"_s, u"0.071"_s, u"0.046"_s},
     {u"2.388"_s, u"1.362"_s, u"0.716"_s, u"0.378"_s, u"0.198"_s, u"0.108"_s, u"0.069"_s, u"0.044"_s},
     {u"0.171"_s, u"3.127"_s, u"OVER"_s, u"N/S"_s, u"0.000"_s},
     {{"S1", 8.0591107001904234, 100.73888375238029, 0.0064132381388919621},
      {"S2", 4.1811807173762698, 104.52951793440674, 0.038592045369940563},
      {"S3", 2.0185599323610917, 100.92799661805458, 0.0080471078285030105},
      {"S4", 0.97159773964924012, 97.159773964924014, -0.025101254716860553},
      {"S5", 0.4637254700379938, 92.745094007598766, -0.065612180854089347},
      {"S6", 0.2341393860686608, 93.655754427464316, -0.057099961138306204},
      {"S7", 0.13936392535581127, 111.49114028464902, 0.094761005371920587}},
     0.061270411292154596,
     {},
     {{TPredictionInterval{0.31847075685540766, 0.47397738242951892}},
      {TPredictionInterval{8.7074291452779846, 13.693263520647758}, false, true},
      {},
      {},
      {std::nullopt, true, false}}},
    // Three fitted points, one degree of freedom; samples inside, below and above.
    // diag(c4, c(1.500, 0.450, 0.140, 0.040), c(1.400, 0.430, 0.150, 0.050), c(1.000, 0.060, 2.500))
    {"FourPoint",
     CURVE_4POINT,
     {u"1.500"_s, u"0.450"_s, u"0.140"_s, u"0.040"_s},
     {u"1.400"_s, u"0.430"_s, u"0.150"_s, u"0.050"_s},
     {u"1.000"_s, u"0.060"_s, u"2.500"_s},
     {{"S1", 4.0667804322720595, 101.66951080680148, 0.013750520668430109},
      {"S2", 0.96742773108842306, 96.7427731088423, -0.027501041336860217},
      {"S3", 0.25417377701700361, 101.66951080680144, 0.01375052066843011}},
     0.033681759335247641,
     {},
     {{TPredictionInterval{1.3628435069517284, 4.9595536086452077}},
      {TPredictionInterval{0.036676228925764588, 0.21037731748463601}, true, false},
      {TPredictionInterval{3.5059243987318576, 17.515440511781499}, false, true}}},
    // A high-dose hook (S2 above S1) and S5 swapped with S6. S3 has one replicate: no mean
    // for the order, S4 is compared with S2; its point is still fitted.
    // diag(c8, c(1.300, 1.520, NA, 0.380, 0.110, 0.200, 0.070, 0.046),
    //      c(1.280, 1.480, 0.700, 0.376, 0.112, 0.205, 0.072, 0.044), c(0.500))
    {"HookAndSwappedRow",
     CURVE_8POINT,
     {u"1.300"_s, u"1.520"_s, u"N/S"_s, u"0.380"_s, u"0.110"_s, u"0.200"_s, u"0.070"_s, u"0.046"_s},
     {u"1.280"_s, u"1.480"_s, u"0.700"_s, u"0.376"_s, u"0.112"_s, u"0.205"_s, u"0.072"_s, u"0.044"_s},
     {u"0.500"_s},
     {{"S1", 5.4465052286782845, 68.081315358478562, -0.28814398504864247},
      {"S2", 6.6606394918393361, 166.51598729598339, 0.38216690453457286},
      {"S3", 2.4092134588333991, 120.46067294166996, 0.1395148523363075},
      {"S4", 1.0587933106902878, 105.87933106902878, 0.042816712761122505},
      {"S5", 0.20641636538020255, 41.283273076040508, -0.66305928169749906},
      {"S6", 0.46039409706755258, 184.15763882702103, 0.45763840338539274},
      {"S7", 0.11371187069741902, 90.969496557935216, -0.070933606271253835}},
     0.42532064604303421,
     {u"S2"_s, u"S6"_s},
     {{TPredictionInterval{0.32028434763698915, 7.3834740537842283}}}},
    // S3's mean is 0: two fitted points, no s and no interval, the range flags still set.
    // The zero standard's mean is then above S3's: out of order.
    // diag(c4, c(1.500, 0.450, 0.000, 0.040), c(1.400, 0.430, 0.000, 0.050), c(0.300, 0.050, 3.000))
    //   exp(x0): 0.64068572151794323 0.079812170182618422 9.313502645938728
    {"TwoFittedPoints",
     CURVE_4POINT,
     {u"1.500"_s, u"0.450"_s, u"0.000"_s, u"0.040"_s},
     {u"1.400"_s, u"0.430"_s, u"0.000"_s, u"0.050"_s},
     {u"0.300"_s, u"0.050"_s, u"3.000"_s},
     {{"S1", 4.0, 100.0, 0.0}, {"S2", 0.99999999999999989, 99.999999999999986, 0.0}},
     std::nullopt,
     {u"S4"_s},
     {{}, {std::nullopt, true, false}, {std::nullopt, false, true}}},
};

class CurveDiagnosticsCase : public ::testing::TestWithParam<DiagnosticsCase>
{
};

} // namespace

TEST_P(CurveDiagnosticsCase, DiagnoseCurve_CalculatedRun_MatchesAnIndependentFit)
{
    const DiagnosticsCase &expected = GetParam();
    TMarnovelRdData data;
    TTextGrid grid = PlateGrid();
    data.SetCurveType(expected.curve);
    AddStandardColumn(data, 1);
    AddStandardColumn(data, 2);
    SetColumn(grid, 1, expected.seriesA);
    SetColumn(grid, 2, expected.seriesB);
    for (int i = 0; i < expected.samples.size(); ++i)
        AddSample(data, QPoint(3, 1 + i));
    SetColumn(grid, 3, expected.samples);

    const TCurveDiagnostics diagnostics = DiagnoseCurve(CalculateRun(data, &grid));

    ASSERT_EQ(diagnostics.Standards.size(), expected.standards.size());
    for (std::size_t i = 0; i < expected.standards.size(); ++i) {
        const TStandardDiagnostics &standard = diagnostics.Standards[i];
        const ExpectedStandard &want = expected.standards[i];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(standard.Name, QString::fromUtf8(want.name));
        EXPECT_EQ(standard.Nominal, data.StdConc().at(static_cast<int>(i)));
        ExpectClose(standard.BackCalculated, want.backCalculated, "back-calculated");
        ExpectClose(standard.RecoveryPercent, want.recoveryPercent, "recovery");
        ExpectClose(standard.Residual, want.residual, "residual");
    }
    ASSERT_EQ(diagnostics.FitStandardError.has_value(), expected.fitStandardError.has_value());
    if (expected.fitStandardError)
        ExpectClose(*diagnostics.FitStandardError, *expected.fitStandardError, "s");
    EXPECT_EQ(diagnostics.OutOfOrder, expected.outOfOrder);
    EXPECT_EQ(diagnostics.StandardsInOrder(), expected.outOfOrder.isEmpty());

    ASSERT_EQ(diagnostics.Subjects.size(), expected.subjects.size());
    for (std::size_t k = 0; k < expected.subjects.size(); ++k) {
        const TSubjectDiagnostics &subject = diagnostics.Subjects[k];
        const ExpectedSubject &want = expected.subjects[k];
        SCOPED_TRACE(expected.samples.at(static_cast<int>(k)).toStdString());
        ASSERT_EQ(subject.Interval95.has_value(), want.interval.has_value());
        if (want.interval) {
            ExpectClose(subject.Interval95->Low, want.interval->Low, "low");
            ExpectClose(subject.Interval95->High, want.interval->High, "high");
        }
        EXPECT_EQ(subject.BelowLowestStandard, want.below);
        EXPECT_EQ(subject.AboveHighestStandard, want.above);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, CurveDiagnosticsCase, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<DiagnosticsCase> &info) {
                             return info.param.name;
                         });

// R: sprintf("%.17g", qt(0.975, df)) for each df, and qt(p, df) for the other rows.
TEST(StudentTQuantile, AgainstR_WithinAFewUlps)
{
    const struct
    {
        double p;
        int df;
        double expected;
    } quantiles[] = {
        {0.975, 1, 12.706204736174694},    {0.975, 2, 4.3026527297494619},  {0.975, 3, 3.1824463052837078},
        {0.975, 4, 2.7764451051977934},    {0.975, 5, 2.5705818356363137},  {0.975, 6, 2.4469118511449688},
        {0.975, 7, 2.3646242515927844},    {0.975, 8, 2.3060041352041658},  {0.975, 9, 2.2621571627982049},
        {0.975, 10, 2.2281388519862739},   {0.975, 11, 2.2009851600916388}, {0.975, 12, 2.1788128296672284},
        {0.975, 13, 2.1603686564627917},   {0.975, 14, 2.1447866879178039}, {0.975, 15, 2.1314495455597751},
        {0.975, 16, 2.1199052992212541},   {0.975, 17, 2.1098155778333165}, {0.975, 18, 2.1009220402410382},
        {0.975, 19, 2.0930240544083092},   {0.975, 20, 2.0859634472658648}, {0.975, 21, 2.07961384472768},
        {0.975, 22, 2.0738730679040258},   {0.975, 23, 2.0686576104190482}, {0.975, 24, 2.0638985616280254},
        {0.975, 25, 2.0595385527532977},   {0.975, 26, 2.0555294386428726}, {0.975, 27, 2.051830516480285},
        {0.975, 28, 2.0484071417952445},   {0.975, 29, 2.0452296421327034}, {0.975, 30, 2.0422724563012378},
        {0.975, 40, 2.0210753903062733},   {0.975, 60, 2.0002978220142595}, {0.975, 120, 1.9799304050824222},
        {0.975, 1000, 1.9623390808264076}, {0.6, 3, 0.27667066233268983},   {0.025, 7, -2.3646242515927844},
        {0.9995, 3, 12.923978636687961},   {0.05, 1, -6.3137515146750438},  {0.3, 2, -0.61721339984836765},
    };
    for (const auto &q : quantiles)
        EXPECT_NEAR(StudentTQuantile(q.p, q.df), q.expected, 1e-13 * std::fabs(q.expected))
            << "p " << q.p << ", df " << q.df;
    EXPECT_EQ(StudentTQuantile(0.5, 9), 0.0);
    EXPECT_TRUE(std::isnan(StudentTQuantile(0.975, 0)));
    EXPECT_TRUE(std::isnan(StudentTQuantile(1.0, 5)));
}
