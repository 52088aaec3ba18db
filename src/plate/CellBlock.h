#pragma once

#include "plate/MarnovelTypes.h"

#include <QPoint>
#include <QString>

#include <array>
#include <span>
#include <vector>

class ITextGrid;
class TBaseSelectBlockPanel;
class OWCells;

// One well of a block.
struct OWCellBlockElm
{
    OWCellBlockElm() = default;
    explicit OWCellBlockElm(QPoint pCell) : mCell(pCell) {}

    bool IsEmpty() const { return mCell == QPoint(-1, -1); }

    QPoint mCell{-1, -1};                        // (-1, -1): no well set yet
    int fID = 0;                                 // ID of the label that placed the well; 0 for none
    TBaseSelectBlockPanel *fCellPanel = nullptr; // not owned; the panel lists outlive every block
};

// One input value of a well.
struct TPseudoDoubleElm
{
    QString mRawValue; // the text exactly as read from the grid
    double mValue = 0.0;
    TValidityType mValidity = ValidValue;
};

// A labelled group of wells: one replicate of the standard series or one subject's wells,
// with their input values and, after calculation, results and annotation flags.
// Blocks are not copyable; a collection (OWCells) owns them.
class OWCellBlockBase
{
public:
    static constexpr int ResultSlotCount = 21;

    OWCellBlockBase();
    virtual ~OWCellBlockBase();
    OWCellBlockBase(const OWCellBlockBase &) = delete;
    OWCellBlockBase &operator=(const OWCellBlockBase &) = delete;

    // ---- virtual operations -----------------------------------------------------
    virtual int Count() const = 0;
    // The block colour; a standard block takes the next grey, a subject block the next
    // subject colour, the first time it is asked, and keeps it.
    virtual TColor color();
    virtual void SetFixedID(int pValue);
    // Reads every well's text from the grid; true when every value was numeric.
    virtual bool setValues(const ITextGrid &pGrid) = 0;
    virtual bool add(QPoint pPoint) = 0;
    virtual std::span<const OWCellBlockElm> block() const = 0;
    // Base: add(pPoint), the panel is ignored.
    virtual bool addWithID(QPoint pPoint, TBaseSelectBlockPanel *pPanel);
    virtual bool contains(QPoint pPoint) const = 0;
    virtual void setId(const QString &pIdStr, bool pIsStandard);
    virtual bool idCell(QPoint pPoint) const = 0;
    virtual QString CellRawDataID(QPoint pPoint) const = 0;
    virtual int GetBlockCellIndex(QPoint pPoint) const; // base: 0
    virtual TColor GetBlockCellColor(QPoint pPoint);    // base: color()
    virtual int ContainsID(int pId) const;              // base: -1

    // ---- input values -----------------------------------------------------------
    // 0 for an index outside the input values.
    double getValue(int pIndex) const;
    // These raise ERangeError for an index outside the input values.
    QString getRawValue(int pIndex) const;
    TValidityType getValidityValue(int pIndex) const;
    // Stores the text verbatim; a number (regional separator) is ValidValue, a not-specified
    // marker of any language (IsNotSpecifiedText) is ValueNotSpecified with value 0, anything
    // else ValueNotNumerical with value 4.0.
    // Returns true only for a number.
    bool setValueFromText(int pIndex, const QString &pText);
    // New entries are empty, value 0, ValidValue. A negative count raises ERangeError.
    void SetValueCount(int pCount);
    int ValueCount() const { return static_cast<int>(mInputValues.size()); }

    // ---- results (well index 0-20; outside raises ERangeError) -------------------
    double getResultLn(int pIndex) const;
    void setResultLn(int pIndex, double pValue);
    QString getResult(int pIndex) const;
    void setResult(int pIndex, const QString &pText);
    const TArrayDouble21 &ResultsLn() const { return mResultsLn; }

    // ---- annotations (indexed by TAnnotationType, 0-20; outside raises ERangeError) --
    void ClearAnnotationExists();
    bool getAnnotationExists(int pType) const;
    void setAnnotationExists(int pType, bool pExists);

    // ---- identity -----------------------------------------------------------------
    QString id() const { return mId; }
    bool getIsStandard() const { return mIsStandard; }
    int FixedID() const { return fFixedID; }
    int SortOrder() const { return mSortOrder; }
    TCriteriaType GetCriteriaType() const { return fCriteriaType; }
    void SetCriteriaType(TCriteriaType pValue) { fCriteriaType = pValue; }
    TResultType ResultType() const { return mResultType; }
    void SetResultType(TResultType pValue) { mResultType = pValue; }
    TCellExceptionTypes CellExceptionType() const { return fCellExecptionType; }
    void SetCellExceptionType(const TCellExceptionTypes &pValue) { fCellExecptionType = pValue; }
    // A random-orientation block is given the current subject colour before it is drawn.
    void SetSubjectColor(TColor pValue) { mSubjectColor = pValue; }

    // ---- state shared by all blocks ------------------------------------------------
    // Subject and standard IDs back to 1, grey and colour indexes to 0, prefix emptied;
    // the identifier count is kept.
    static void Reset();
    static QString GetSubjectIdPrefix();
    static void SetSubjectIdPrefix(const QString &pNewValue);
    static int GetIdentifierCount();
    static void SetIdentifierCount(int pNewValue);
    static void SetNextSubjectId();
    static void SetNextStandardId();
    static int GetCurrentSubjectIdNumber();
    static QString GetCurrentSubjectIdStr();  // text 57, blank, number: "ID 1"
    static QString GetCurrentStandardIdStr(); // text 148, blank, number: "Std 1"
    // Returns the grey at the grey index, then advances it (cycling through 4).
    static TColor SetAndGetNextStandardGrey();
    // Returns the colour at the subject colour index, then advances it (cycling through 32).
    static TColor SetAndGetNextSubjectColor();
    static TColor GetCurrentSubjectColor();

protected:
    TColor mStandardGrey = 0;
    TColor mSubjectColor = 0;
    QString mId;
    bool mIsStandard = false;
    int mSortOrder = 0;
    std::vector<TPseudoDoubleElm> mInputValues;
    TArrayDouble21 mResultsLn{};
    std::array<QString, ResultSlotCount> mResults;
    std::array<bool, ResultSlotCount> mAnnotationExists{};
    TResultType mResultType = RT_NOTSET;
    int fFixedID = 0;
    TCriteriaType fCriteriaType = CT_CORVEX_TWO;
    TCellExceptionTypes fCellExecptionType{CELLEX_NONE};

private:
    friend class OWCells; // assigns the sort order
    static int CheckedResultIndex(int pIndex, const char *pWhere);
    int CheckedValueIndex(int pIndex, const char *pWhere) const;
};
