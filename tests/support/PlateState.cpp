// The plate layer's process-wide state, put back before every test of the programs that
// link the plate test support.

#include "ProcessState.h"

#include "plate/CellBlock.h"
#include "plate/MarnovelPanels.h"
#include "plate/MarnovelTypes.h"

namespace {

void ResetPanels(TCBBlockPanelList &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        TBaseSelectBlockPanel *panel = list.GetItem(i);
        panel->ResetState();
        panel->SetOnClick(nullptr);
    }
}

void ResetPlateState()
{
    // Subject and standard numbers, greys, colours and prefix; Reset keeps the identifier count.
    OWCellBlockBase::Reset();
    OWCellBlockBase::SetIdentifierCount(0);
    // Every list of panels fresh, the 4-point standards current.
    for (const TCurveType curveType : {CURVE_8POINT, CURVE_4POINT}) {
        TStdPanel::SetBlockList(curveType);
        ResetPanels(TStdPanel::GetBlockList());
    }
    for (int criteriaType = 0; criteriaType <= CT_RESEARCH_SAMPLE; ++criteriaType) {
        if (IsSubjectLayoutCriteriaType(criteriaType))
            ResetPanels(TCBBlockPanelList::GetListForCriteriaType(criteriaType));
    }
}

[[maybe_unused]] const bool gPlateStateAdded = TestSupport::AddStateReset(&ResetPlateState);

} // namespace
