#include "plate/CellBlock.h"

#include "core/Exceptions.h"
#include "core/RegionalSettings.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <algorithm>
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

void OWCellBlockBase::RaiseValueIndexError(const char *pWhere, int pIndex) const
{
    RaiseIndexError(pWhere, pIndex, QStringLiteral("Index outside the %1 input values.").arg(ValueCount()));
}

void OWCellBlockBase::RaiseResultIndexError(const char *pWhere, int pIndex)
{
    RaiseIndexError(pWhere, pIndex, QStringLiteral("Index outside 0-%1.").arg(ResultSlotCount - 1));
}

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

QString OWCellBlockBase::getRawValue(int pIndex) const
{
    return mInputValues[CheckedValueIndex(pIndex, "getRawValue")].mRawValue;
}

bool OWCellBlockBase::setValueFromText(int pIndex, const QString &pText)
{
    TPseudoDoubleElm &elm = mInputValues[CheckedValueIndex(pIndex, "setValueFromText")];
    // Calculating again reads the same texts: the very same text (not a copy that could
    // have changed), read with the same separator, keeps the value it was read as.
    const QChar separator = GetRegionalDecimalSeparator();
    if (!separator.isNull() && elm.mReadSeparator == separator && elm.mRawValue.isSharedWith(pText))
        return elm.mValidity == ValidValue;
    elm.mReadSeparator = separator;
    elm.mRawValue = pText;
    const QString &text = elm.mRawValue;
    double value = 0.0;
    // Infinite or NaN texts are not ODs: they would poison the curve fit.
    if (TryTextToFloat(text, value) && std::isfinite(value)) {
        elm.mValue = value;
        elm.mValidity = ValidValue;
        return true;
    }
    if (IsNotSpecifiedText(text)) {
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

void OWCellBlockBase::setResult(int pIndex, QString pText)
{
    mResults[CheckedResultIndex(pIndex, "setResult")] = std::move(pText);
}

void OWCellBlockBase::setResult(int pIndex, QStringView pText)
{
    QString &result = mResults[CheckedResultIndex(pIndex, "setResult")];
    const bool same =
        result.size() == pText.size() && std::equal(pText.begin(), pText.end(), result.constBegin());
    if (!same)
        result = pText.toString();
}

void OWCellBlockBase::ClearAnnotationExists()
{
    mAnnotationExists.fill(false);
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
    return UiText(TextId::SubjectIdPrefix) + QLatin1Char(' ') + QString::number(Shared().nextSubjectId);
}

QString OWCellBlockBase::GetCurrentStandardIdStr()
{
    return UiText(TextId::StdBlockName) + QLatin1Char(' ') + QString::number(Shared().nextStandardId);
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
