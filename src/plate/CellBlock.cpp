#include "plate/CellBlock.h"

#include "core/Exceptions.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <cmath>

namespace {

// The OD assigned to a text that is neither a number nor the not-specified marker.
constexpr double NonNumericalValue = 4.0;

struct SharedBlockState
{
    QString subjectIdPrefix;
    int nextSubjectId = 1;
    int nextStandardId = 1;
    int standardGreyIndex = 0;
    int subjectColourIndex = 0;
    int identifierCount = 0;
};

SharedBlockState &Shared()
{
    static SharedBlockState state;
    return state;
}

// Wraps instead of overflowing (signed overflow would be undefined).
void Increment(int &pCounter)
{
    pCounter = static_cast<int>(static_cast<unsigned>(pCounter) + 1u);
}

[[noreturn]] void RaiseIndexError(const char *pWhere, int pIndex, const QString &pReason)
{
    throw ERangeError(BuildExceptionMessage(QStringLiteral("OWCellBlockBase.") + QLatin1StringView(pWhere),
                                            QStringLiteral("pIndex=%1").arg(pIndex), pReason));
}

} // namespace

OWCellBlockBase::OWCellBlockBase() = default;

OWCellBlockBase::~OWCellBlockBase() = default;

TColor OWCellBlockBase::color()
{
    if (mIsStandard) {
        if (mStandardGrey == 0)
            mStandardGrey = SetAndGetNextStandardGrey();
        return mStandardGrey;
    }
    if (mSubjectColor == 0)
        mSubjectColor = SetAndGetNextSubjectColor();
    return mSubjectColor;
}

void OWCellBlockBase::SetFixedID(int pValue)
{
    fFixedID = pValue;
}

bool OWCellBlockBase::addWithID(QPoint pPoint, TBaseSelectBlockPanel *)
{
    return add(pPoint);
}

void OWCellBlockBase::setId(const QString &pIdStr, bool pIsStandard)
{
    mId = pIdStr;
    mIsStandard = pIsStandard;
}

int OWCellBlockBase::GetBlockCellIndex(QPoint) const
{
    return 0;
}

TColor OWCellBlockBase::GetBlockCellColor(QPoint)
{
    return color();
}

int OWCellBlockBase::ContainsID(int) const
{
    return -1;
}

// ---- input values -------------------------------------------------------------------

int OWCellBlockBase::CheckedValueIndex(int pIndex, const char *pWhere) const
{
    if (pIndex < 0 || pIndex >= ValueCount())
        RaiseIndexError(pWhere, pIndex,
                        QStringLiteral("Index outside the %1 input values.").arg(ValueCount()));
    return pIndex;
}

double OWCellBlockBase::getValue(int pIndex) const
{
    if (pIndex < 0 || pIndex >= ValueCount())
        return 0.0;
    return mInputValues[pIndex].mValue;
}

QString OWCellBlockBase::getRawValue(int pIndex) const
{
    return mInputValues[CheckedValueIndex(pIndex, "getRawValue")].mRawValue;
}

TValidityType OWCellBlockBase::getValidityValue(int pIndex) const
{
    return mInputValues[CheckedValueIndex(pIndex, "getValidityValue")].mValidity;
}

bool OWCellBlockBase::setValueFromText(int pIndex, const QString &pText)
{
    TPseudoDoubleElm &elm = mInputValues[CheckedValueIndex(pIndex, "setValueFromText")];
    elm.mRawValue = pText;
    double value = 0.0;
    // Infinite or NaN texts are not ODs: they would poison the curve fit.
    if (TryTextToFloat(pText, value) && std::isfinite(value)) {
        elm.mValue = value;
        elm.mValidity = ValidValue;
        return true;
    }
    if (IsNotSpecifiedText(pText)) {
        elm.mValue = 0.0;
        elm.mValidity = ValueNotSpecified;
    } else {
        elm.mValue = NonNumericalValue;
        elm.mValidity = ValueNotNumerical;
    }
    return false;
}

void OWCellBlockBase::SetValueCount(int pCount)
{
    if (pCount < 0)
        RaiseIndexError("SetValueCount", pCount, QStringLiteral("A value count cannot be negative."));
    mInputValues.resize(static_cast<std::size_t>(pCount));
}

// ---- results and annotations ----------------------------------------------------------

int OWCellBlockBase::CheckedResultIndex(int pIndex, const char *pWhere)
{
    if (pIndex < 0 || pIndex >= ResultSlotCount)
        RaiseIndexError(pWhere, pIndex, QStringLiteral("Index outside 0-%1.").arg(ResultSlotCount - 1));
    return pIndex;
}

double OWCellBlockBase::getResultLn(int pIndex) const
{
    return mResultsLn[CheckedResultIndex(pIndex, "getResultLn")];
}

void OWCellBlockBase::setResultLn(int pIndex, double pValue)
{
    mResultsLn[CheckedResultIndex(pIndex, "setResultLn")] = pValue;
}

QString OWCellBlockBase::getResult(int pIndex) const
{
    return mResults[CheckedResultIndex(pIndex, "getResult")];
}

void OWCellBlockBase::setResult(int pIndex, const QString &pText)
{
    mResults[CheckedResultIndex(pIndex, "setResult")] = pText;
}

void OWCellBlockBase::ClearAnnotationExists()
{
    mAnnotationExists.fill(false);
}

bool OWCellBlockBase::getAnnotationExists(int pType) const
{
    return mAnnotationExists[CheckedResultIndex(pType, "getAnnotationExists")];
}

void OWCellBlockBase::setAnnotationExists(int pType, bool pExists)
{
    mAnnotationExists[CheckedResultIndex(pType, "setAnnotationExists")] = pExists;
}

// ---- shared state ------------------------------------------------------------------------

void OWCellBlockBase::Reset()
{
    SharedBlockState &s = Shared();
    s.nextSubjectId = 1;
    s.nextStandardId = 1;
    s.standardGreyIndex = 0;
    s.subjectColourIndex = 0;
    s.subjectIdPrefix.clear();
}

QString OWCellBlockBase::GetSubjectIdPrefix()
{
    return Shared().subjectIdPrefix;
}

void OWCellBlockBase::SetSubjectIdPrefix(const QString &pNewValue)
{
    Shared().subjectIdPrefix = pNewValue;
}

int OWCellBlockBase::GetIdentifierCount()
{
    return Shared().identifierCount;
}

void OWCellBlockBase::SetIdentifierCount(int pNewValue)
{
    Shared().identifierCount = pNewValue;
}

void OWCellBlockBase::SetNextSubjectId()
{
    Increment(Shared().nextSubjectId);
}

void OWCellBlockBase::SetNextStandardId()
{
    Increment(Shared().nextStandardId);
}

int OWCellBlockBase::GetCurrentSubjectIdNumber()
{
    return Shared().nextSubjectId;
}

QString OWCellBlockBase::GetCurrentSubjectIdStr()
{
    return UiText(57) + QLatin1Char(' ') + QString::number(Shared().nextSubjectId);
}

QString OWCellBlockBase::GetCurrentStandardIdStr()
{
    return UiText(148) + QLatin1Char(' ') + QString::number(Shared().nextStandardId);
}

TColor OWCellBlockBase::SetAndGetNextStandardGrey()
{
    SharedBlockState &s = Shared();
    const TColor grey = StandardGreys[static_cast<std::size_t>(s.standardGreyIndex)];
    s.standardGreyIndex = (s.standardGreyIndex + 1) % static_cast<int>(StandardGreys.size());
    return grey;
}

TColor OWCellBlockBase::SetAndGetNextSubjectColor()
{
    SharedBlockState &s = Shared();
    const TColor colour = SubjectColours[static_cast<std::size_t>(s.subjectColourIndex)];
    s.subjectColourIndex = (s.subjectColourIndex + 1) % static_cast<int>(SubjectColours.size());
    return colour;
}

TColor OWCellBlockBase::GetCurrentSubjectColor()
{
    return SubjectColours[static_cast<std::size_t>(Shared().subjectColourIndex)];
}
