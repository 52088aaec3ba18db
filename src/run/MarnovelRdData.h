#pragma once

#include "run/MarnovelData.h"

#include <optional>
#include <vector>

// The research edition's run data: 4- or 8-point curve with default or own
// concentrations, one-well research samples converted to IU/mL.
class TMarnovelRdData : public TMarnovelData
{
public:
    // 8-point curve, concentrations 8 4 2 1 0.5 0.25 0.125 0, criteria type 90.
    TMarnovelRdData();
    ~TMarnovelRdData() override;

    using TMarnovelData::IndexColOfLastFormatStrip;
    using TMarnovelData::loadDataObject;

    // "S" + (index + 1)
    QString StandardName(int index) const override;
    TQcCheck CheckStandardReplicate(int blockIndex, int index, const OWCells &blocks, double mean,
                                    double sd) const override;
    bool IsCvApplicable(int index, int count, double mean) const override;
    // The last 3 standards of an 8-point curve, the last 2 of a 4-point curve.
    bool IsLowStandard(int index, int count) const override;
    bool GetRegressionPoint(int index, double &x, double mean, double &y) const override;
    void CalcResults(const TLinearRegression &regression, OWCells &blocks) override;
    QString NormaliseNonNumeric(const QString &text) const override;

    QString GetPrintHeadingResultString() const override; // text 361
    bool printValidResultGridLine(int indexToCheck) const override;
    int printMarginWidth() const override { return 20; }

    bool doCanCalc() const override;
    TStdConcData &StdConc() override { return mStdConc; }
    const TStdConcData &StdConc() const override { return mStdConc; }
    void init(bool keepStdConc) override;
    TResultGridCount ResultGridCount() const override;
    QString rawDataRowheading(int row) const override;
    QString resultGridColHeading(int col) const override; // text 94
    TCurveType GetCurveTypeForDataClass() const override { return CURVE_8POINT; }
    QString GetRawDataTypeString(int pIndex) const override; // "Sample"; ERangeError for pIndex != 0
    void SetCurveType(TCurveType value) override;
    void SetCurveType(TCurveType value, const QList<double> &pStdConc) override;

    // Largest reportable result in IU/mL (10 for every well).
    double MaxResultValue(int index) const;
    // "> 10"
    QString MaxValueText(int index) const;
    // The concentration of subject block `blockIndex` before it was rounded for its result
    // (also above the range; 0 for an OD of 0), from the last CalcResults; none when the
    // block has no numerical OD.
    std::optional<double> UnroundedResult(int blockIndex) const;

    int MinStdsForCalc() const { return fMinStdsForCalc; }
    bool ShowStdCalcValues() const { return fShowStdCalcValues; }

private:
    TStdConcData mStdConc;
    std::vector<std::optional<double>> mUnroundedResults;
    int fMinStdsForCalc = 2;
    bool fShowStdCalcValues = false;
};
