#include "plate/MarnovelPanels.h"

#include "core/Exceptions.h"
#include "core/Tool.h"
#include "plate/CellBlock.h"

#include <map>

namespace {

TStdDisplayRec RecordAt(const QList<TStdDisplayRec> &pTable, int pIndex, const QString &pWhere)
{
    if (pIndex < 0 || pIndex >= pTable.size())
        throw ERangeError(BuildExceptionMessage(pWhere, QStringLiteral("pIndex=%1").arg(pIndex),
                                                QStringLiteral("No well label at that index.")));
    return pTable.at(pIndex);
}

} // namespace

// ---- TBaseSelectBlockPanel ---------------------------------------------------------------

QString TBaseSelectBlockPanel::StdText() const
{
    return GetBlockForIndex(fID - 1).Text;
}

QString TBaseSelectBlockPanel::StdLongText() const
{
    return LongTextOf(GetBlockForIndex(fID - 1));
}

TColor TBaseSelectBlockPanel::StdColor() const
{
    return GetBlockForIndex(fID - 1).Color;
}

void TBaseSelectBlockPanel::Click()
{
    if (!Enabled())
        return;
    // A copy: the handler may replace itself while it runs.
    if (const TClickHandler handler = mOnClick)
        handler(this);
    SetSelected(!fSelected);
}

void TBaseSelectBlockPanel::ResetState()
{
    fSelected = false;
    SetEnabled(true);
    ApplyDisplayRecord();
}

void TBaseSelectBlockPanel::ApplyDisplayRecord()
{
    SetColor(StdColor());
    SetCaption(StdText().trimmed());
}

// ---- TStdPanel -----------------------------------------------------------------------------

TStdPanel::TStdPanel(int pID, TCurveType pCurveType) : TBaseSelectBlockPanel(pID), fCurveType(pCurveType)
{
    ApplyDisplayRecord();
    SetIsStdBlockPanel(true);
}

TStdDisplayRec TStdPanel::GetBlockForIndex(int pIndex) const
{
    if (!IsValidCurveType(fCurveType))
        throw MarnovelException(QStringLiteral("GetBlockForIndex(): Invalid number of standards"));
    return RecordAt(StandardsOfCurveType(fCurveType), pIndex, QStringLiteral("TStdPanel.GetBlockForIndex"));
}

namespace {

// One standards list per curve type, kept for the program's life, so wells that refer to
// a panel of the list in use before a curve type change never dangle.
struct StandardLists
{
    std::map<TCurveType, std::unique_ptr<TCBBlockPanelList>> lists;
    TCBBlockPanelList *current = nullptr;
};

StandardLists &Standards()
{
    static StandardLists standards;
    return standards;
}

TCBBlockPanelList &StandardListOf(TCurveType pCurveType)
{
    const QList<TStdDisplayRec> &table = StandardsOfCurveType(pCurveType); // validates first
    std::unique_ptr<TCBBlockPanelList> &slot = Standards().lists[pCurveType];
    if (!slot) {
        auto list = std::make_unique<TCBBlockPanelList>(CT_STANDARDS, pCurveType);
        for (const TStdDisplayRec &rec : table)
            list->Add(std::make_unique<TStdPanel>(rec.ID, pCurveType));
        slot = std::move(list);
    }
    return *slot;
}

} // namespace

TCBBlockPanelList &TStdPanel::GetBlockList()
{
    StandardLists &standards = Standards();
    if (!standards.current)
        standards.current = &StandardListOf(CURVE_4POINT);
    return *standards.current;
}

void TStdPanel::SetBlockList(TCurveType pCurveType)
{
    TCBBlockPanelList &list = StandardListOf(pCurveType);
    for (int i = 0; i < list.Count(); ++i)
        list.GetItem(i)->ResetState();
    Standards().current = &list;
}

// ---- sample panels -----------------------------------------------------------------------

TBaseSamplePanel::TBaseSamplePanel(int pID, TCriteriaType pCriteriaType)
    : TBaseSelectBlockPanel(pID), fCriteriaType(pCriteriaType)
{
    ApplyDisplayRecord();
}

TStdDisplayRec TBaseSamplePanel::GetBlockForIndex(int pIndex) const
{
    return RecordAt(WellLabelsOfCriteriaType(fCriteriaType), pIndex,
                    QStringLiteral("TBaseSamplePanel.GetBlockForIndex"));
}

// ---- TCBBlockPanelList ------------------------------------------------------------------

TCBBlockPanelList::TCBBlockPanelList(TCriteriaType pCriteriaType, TCurveType pCurveType)
    : fCriteriaType(pCriteriaType), fCurveType(pCurveType)
{
}

void TCBBlockPanelList::Add(std::unique_ptr<TBaseSelectBlockPanel> pPanel)
{
    if (!pPanel)
        throw EListError(BuildExceptionMessage(QStringLiteral("TCBBlockPanelList.Add"), QString(),
                                               QStringLiteral("No panel passed in.")));
    mItems.push_back(std::move(pPanel));
}

TBaseSelectBlockPanel *TCBBlockPanelList::GetItem(int pIndex) const
{
    if (pIndex < 0 || pIndex >= Count())
        throw EListError(BuildExceptionMessage(QStringLiteral("TCBBlockPanelList.GetItem"),
                                               QStringLiteral("pIndex=%1").arg(pIndex),
                                               QStringLiteral("List index out of bounds (%1)").arg(pIndex)));
    return mItems[static_cast<std::size_t>(pIndex)].get();
}

void TCBBlockPanelList::UpdateColors()
{
    if (mItems.empty() || mItems.front()->IsStdBlockPanel())
        return;
    const TColor colour = OWCellBlockBase::GetCurrentSubjectColor();
    for (const auto &panel : mItems)
        panel->SetColor(colour);
}

void TCBBlockPanelList::EnableClicking(bool pEnable)
{
    for (const auto &panel : mItems)
        panel->SetEnabled(pEnable);
}

void TCBBlockPanelList::SelectAll(bool pSelect)
{
    for (const auto &panel : mItems)
        panel->SetSelected(pSelect);
}

TBaseSelectBlockPanel *TCBBlockPanelList::GetBlockByID(int pID) const
{
    for (const auto &panel : mItems) {
        if (panel->ID() == pID)
            return panel.get();
    }
    throw MarnovelException(QStringLiteral("TCBBlockPanelList.GetBlockByID(): Could not find ID ") +
                            QString::number(pID));
}

namespace {

[[noreturn]] void RaiseInvalidCriteriaType()
{
    throw MarnovelException(
        QStringLiteral("TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type."));
}

template <TCriteriaType CT> std::unique_ptr<TCBBlockPanelList> BuildSampleList()
{
    auto list = std::make_unique<TCBBlockPanelList>(CT, CURVE_4POINT);
    for (const TStdDisplayRec &rec : WellLabelsOfCriteriaType(CT))
        list->Add(std::make_unique<TLayoutSamplePanel<CT>>(rec.ID));
    return list;
}

std::unique_ptr<TCBBlockPanelList> BuildSampleListFor(int pCriteriaType)
{
    switch (pCriteriaType) {
    case CT_CORVEX_TWO:
        return BuildSampleList<CT_CORVEX_TWO>();
    case CT_CORVEX_THREE:
        return BuildSampleList<CT_CORVEX_THREE>();
    case CT_TORVIN:
        return BuildSampleList<CT_TORVIN>();
    case CT_CMV_UNDILUTED:
        return BuildSampleList<CT_CMV_UNDILUTED>();
    case CT_CMV_POSSIBLY_DILUTED:
        return BuildSampleList<CT_CMV_POSSIBLY_DILUTED>();
    case CT_CMV_DILUTED:
        return BuildSampleList<CT_CMV_DILUTED>();
    case CT_CMV_POSSIBLY_DILUTED_CMV:
        return BuildSampleList<CT_CMV_POSSIBLY_DILUTED_CMV>();
    case CT_CMV_DILUTED_CMV:
        return BuildSampleList<CT_CMV_DILUTED_CMV>();
    case CT_KRX415_UNDILUTED:
        return BuildSampleList<CT_KRX415_UNDILUTED>();
    case CT_KRX415_1_10:
        return BuildSampleList<CT_KRX415_1_10>();
    case CT_KRX415_1_100:
        return BuildSampleList<CT_KRX415_1_100>();
    case CT_KRX415_1_10_1_100:
        return BuildSampleList<CT_KRX415_1_10_1_100>();
    case CT_KRX415_UNDILUTED_1_10:
        return BuildSampleList<CT_KRX415_UNDILUTED_1_10>();
    case CT_KRX415_UNDILUTED_1_10_1_100:
        return BuildSampleList<CT_KRX415_UNDILUTED_1_10_1_100>();
    case CT_RESEARCH_SAMPLE:
        return BuildSampleList<CT_RESEARCH_SAMPLE>();
    default:
        RaiseInvalidCriteriaType();
    }
}

} // namespace

TCBBlockPanelList &TCBBlockPanelList::GetListForCriteriaType(int pCriteriaType)
{
    static std::map<int, std::unique_ptr<TCBBlockPanelList>> lists;
    if (!IsSubjectLayoutCriteriaType(pCriteriaType))
        RaiseInvalidCriteriaType();
    std::unique_ptr<TCBBlockPanelList> &slot = lists[pCriteriaType];
    if (!slot)
        slot = BuildSampleListFor(pCriteriaType);
    return *slot;
}
