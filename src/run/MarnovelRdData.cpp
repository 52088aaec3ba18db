#include "run/MarnovelRdData.h"

#include "core/Annotations.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "run/MathChecks.h"
#include "run/RunCalculation.h"
#include "run/VectorState.h"
#include "run/linear_regression.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double ResearchMaxResult = 10.0;

// The logarithm of a sample's OD: when it is not finite, the OD in the sample's well is
// the cause (the steps after it depend on the curve as well).
void CheckLogOd(double logOd, const QString &where, const OWCellBlockBase &block)
{
    if (std::isfinite(logOd))
        return;
    const QPoint well = block.block().empty() ? QPoint(-1, -1) : block.block().front().mCell;
    throw EWellNotCalculable(BuildExceptionMessage(where, QString(),
                                                   QStringLiteral("The logarithm of the OD of ") +
                                                       block.id() + QStringLiteral(" cannot be calculated")),
                             well);
}

} // namespace

TMarnovelRdData::TMarnovelRdData()
{
    SetCurveType(GetCurveTypeForDataClass());
    fMinStdsForCalc = 2;
    fShowStdCalcValues = false;
    SetCriteriaType(CT_RESEARCH_SAMPLE);
}

TMarnovelRdData::~TMarnovelRdData() = default;

QString TMarnovelRdData::StandardName(int index) const
{
    // Asked for every standard of every calculation: the names of a plate are made once.
    static const std::array<QString, 32> names = [] {
        std::array<QString, 32> made;
        for (std::size_t i = 0; i < made.size(); ++i)
            made[i] = QStringLiteral("S") + QString::number(i + 1);
        return made;
    }();
    if (index >= 0 && index < static_cast<int>(names.size()))
        return names[static_cast<std::size_t>(index)];
    return QStringLiteral("S") + QString::number(index + 1);
}

TQcCheck TMarnovelRdData::CheckStandardReplicate(int blockIndex, int index, const OWCells &blocks,
                                                 double mean, double /*sd*/) const
{
    if (blockIndex < 0)
        return CheckQcRule(QcRule::TopStandardMeanOd(fCurveType), mean);
    const OWCellBlockBase *block = blocks.getCellInteger(blockIndex);
    if (block == nullptr)
        return TQcCheck{QcRule::LowStandardReplicateAgreement, std::nullopt, false};
    return CheckQcRule(QcRule::LowStandardReplicateAgreement, std::fabs(mean - block->getValue(index)));
}

bool TMarnovelRdData::IsCvApplicable(int index, int count, double mean) const
{
    return !IsLowStandard(index, count) && mean != 0.0;
}

bool TMarnovelRdData::IsLowStandard(int index, int count) const
{
    const int lowCount = count == 8 ? 3 : 2;
    return index >= count - lowCount;
}

bool TMarnovelRdData::GetRegressionPoint(int index, double &x, double mean, double &y) const
{
    if (index < 0 || index >= mStdConc.size())
        return false;
    const double conc = mStdConc.at(index);
    if (conc == 0.0 || mean == 0.0)
        return false;
    ClearUpperVectorState();
    x = std::log(conc);
    y = std::log(mean);
    return true;
}

void TMarnovelRdData::CalcResults(const TLinearRegression &regression, OWCells &blocks)
{
    static const QString where = QStringLiteral("TMarnovelRdData.CalcResults");
    const double intercept = regression.Intercept();
    const double slope = regression.Slope();

    // The arithmetic of the ODs first, and nothing else: the processor then works on several
    // samples at once. The loop below checks each step in the order it was taken.
    struct TSampleMath
    {
        double LogOd = 0.0;
        double Exponent = 0.0;
        double Unrounded = 0.0;
        double Concentration = 0.0;
    };
    const auto calculated = [](const OWCellBlockBase &block) {
        return block.Count() > 0 && block.ValueCount() > 0 && block.getValidityValue(0) == ValidValue &&
               block.getValue(0) != 0.0;
    };
    std::vector<TSampleMath> math(static_cast<std::size_t>(blocks.GetCount()));
    ClearUpperVectorState();
    for (int b = 0; b < blocks.GetCount(); ++b) {
        const OWCellBlockBase *block = blocks.getCellInteger(b);
        if (block == nullptr || !calculated(*block))
            continue;
        TSampleMath &sample = math[static_cast<std::size_t>(b)];
        sample.LogOd = std::log(block->getValue(0));
        sample.Exponent = (sample.LogOd - intercept) / slope;
        // The shared conversion routine, unrolled so that each step can be checked.
        sample.Unrounded = std::exp(sample.Exponent);
        sample.Concentration = RoundAwayToDecimals(2, sample.Unrounded);
    }

    TNumberTextBuffer buffer;
    mUnroundedResults.assign(static_cast<std::size_t>(blocks.GetCount()), std::nullopt);
    for (int b = 0; b < blocks.GetCount(); ++b) {
        OWCellBlockBase *block = blocks.getCellInteger(b);
        if (block == nullptr)
            break;
        // A corrected value must not keep the mark of an earlier calculation.
        block->ClearAnnotationExists();
        QString text;
        if (const int textId = SubjectResultTextId(*block); textId != 0) {
            text = UiText(textId);
        } else if (block->getValue(0) == 0.0) {
            block->setResultLn(0, 0.0);
            mUnroundedResults[static_cast<std::size_t>(b)] = 0.0;
            text = FormatFixed(0.0, 2);
        } else if (block->getValidityValue(0) == ValueNotNumerical) {
            block->setAnnotationExists(AT_INVALIDVALUE, true);
            text = MaxValueText(0) + InvalidValueMark();
        } else {
            const TSampleMath &sample = math[static_cast<std::size_t>(b)];
            CheckLogOd(sample.LogOd, where, *block);
            CheckFinite(sample.Exponent, where,
                        [&] { return QString(QStringLiteral("The concentration of ") + block->id()); });
            CheckFinite(sample.Unrounded, where,
                        [&] { return QString(QStringLiteral("The concentration of ") + block->id()); });
            const double conc = sample.Concentration;
            CheckFinite(conc, where,
                        [&] { return QString(QStringLiteral("The concentration of ") + block->id()); });
            block->setResultLn(0, conc);
            mUnroundedResults[static_cast<std::size_t>(b)] = sample.Unrounded;
            if (conc <= MaxResultValue(0)) {
                // Calculating again mostly finds the same text: it is then kept as it is.
                block->setResult(0, FormatFixed(conc, 2, buffer));
                continue;
            }
            block->setAnnotationExists(AT_EXCEEDMAXVALUE, true);
            text = MaxValueText(0) + ExceedMaxValueMark();
        }
        block->setResult(0, std::move(text));
    }
}

QString TMarnovelRdData::NormaliseNonNumeric(const QString &text) const
{
    if (TrimSpaceAndBlanks(text).isEmpty() || IsNotSpecifiedText(text))
        return UiText(TextId::NotSpecified);
    return text;
}

QString TMarnovelRdData::GetPrintHeadingResultString() const
{
    return UiText(TextId::ReportTitle);
}

bool TMarnovelRdData::printValidResultGridLine(int indexToCheck) const
{
    return OWCellBlockBase::GetIdentifierCount() >= 1 && indexToCheck == 0;
}

bool TMarnovelRdData::doCanCalc() const
{
    return mRawData->getCellInteger(0) != nullptr && mStdBlocks->GetCount() >= fMinStdsForCalc;
}

void TMarnovelRdData::init(bool keepStdConc)
{
    if (keepStdConc)
        return;
    if (!IsValidCurveType(fCurveType))
        throw MarnovelException(QStringLiteral("MarnovelRdData: Unknown CurveType"));
    mStdConc = DefaultStdConc(fCurveType);
}

TResultGridCount TMarnovelRdData::ResultGridCount() const
{
    if (const OWCellBlockBase *first = mRawData->getCellInteger(0))
        return {first->Count(), mRawData->GetCount() + 1};
    return {mXExtent == 0 ? 1 : mXExtent, PlateGridRowCount};
}

QString TMarnovelRdData::rawDataRowheading(int row) const
{
    return QString(QChar(65 + row));
}

QString TMarnovelRdData::resultGridColHeading(int /*col*/) const
{
    return UiText(TextId::ResultIuPerMl);
}

QString TMarnovelRdData::GetRawDataTypeString(int pIndex) const
{
    if (pIndex != 0)
        throw ERangeError(BuildExceptionMessage(QStringLiteral("TMarnovelRdData.GetRawDataTypeString"),
                                                QStringLiteral("pIndex=") + QString::number(pIndex),
                                                QStringLiteral("Index out of range")));
    return LongTextOf(WellLabelsOfCriteriaType(CT_RESEARCH_SAMPLE).at(0));
}

void TMarnovelRdData::SetCurveType(TCurveType value)
{
    // The label list raises on an unknown type before anything here changes.
    TStdPanel::SetBlockList(value);
    fCurveType = value;
    fNumStdGroups = 2;
    fNumCellsPerDataGroup = 4;
    fNumCellsPerStdGroup = StandardCountOfCurveType(value);
    mStdConc = DefaultStdConc(value);
}

void TMarnovelRdData::SetCurveType(TCurveType value, const QList<double> &pStdConc)
{
    if (IsValidCurveType(value) && pStdConc.size() < StandardCountOfCurveType(value))
        throw ERangeError(BuildExceptionMessage(QStringLiteral("TMarnovelRdData.SetCurveType"),
                                                QStringLiteral("count=") + QString::number(pStdConc.size()),
                                                QStringLiteral("Too few standard concentrations")));
    TStdPanel::SetBlockList(value);
    fCurveType = value;
    fNumStdGroups = 2;
    fNumCellsPerDataGroup = 4;
    fNumCellsPerStdGroup = StandardCountOfCurveType(value);
    mStdConc.clear();
    for (int i = 0; i < StandardCountOfCurveType(value); ++i)
        mStdConc.append(static_cast<float>(pStdConc.at(i)));
}

double TMarnovelRdData::MaxResultValue(int /*index*/) const
{
    return ResearchMaxResult;
}

std::optional<double> TMarnovelRdData::UnroundedResult(int blockIndex) const
{
    if (blockIndex < 0 || static_cast<std::size_t>(blockIndex) >= mUnroundedResults.size())
        return std::nullopt;
    return mUnroundedResults[static_cast<std::size_t>(blockIndex)];
}

QString TMarnovelRdData::MaxValueText(int index) const
{
    return QStringLiteral("> ") + FormatGeneral(MaxResultValue(index));
}
