#pragma once

#include "plate/MarnovelTypes.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// Block panels: one per well label of a layout, kept in process-wide lists. Block wells
// refer to them for their label text and, for standards, their colour, so every panel
// lives until the program ends. The toolbar window only displays them.

// A plain panel: caption, background colour, enabled state.
class TMarnovelBasePanel
{
public:
    virtual ~TMarnovelBasePanel() = default;

    QString Caption() const { return mCaption; }
    void SetCaption(const QString &pValue) { mCaption = pValue; }
    TColor Color() const { return mColor; }
    void SetColor(TColor pValue) { mColor = pValue; }
    bool Enabled() const { return mEnabled; }
    void SetEnabled(bool pValue) { mEnabled = pValue; }

private:
    QString mCaption;
    TColor mColor = 0;
    bool mEnabled = true;
};

class TBaseSelectBlockPanel : public TMarnovelBasePanel
{
public:
    using TClickHandler = std::function<void(TBaseSelectBlockPanel *pSender)>;

    TBaseSelectBlockPanel(const TBaseSelectBlockPanel &) = delete;
    TBaseSelectBlockPanel &operator=(const TBaseSelectBlockPanel &) = delete;

    int ID() const { return fID; }
    bool Selected() const { return fSelected; }
    // A selected panel is drawn pressed (lowered bevel), an unselected one raised.
    void SetSelected(bool pValue) { fSelected = pValue; }
    bool IsStdBlockPanel() const { return fIsStdBlockPanel; }
    void SetIsStdBlockPanel(bool pValue) { fIsStdBlockPanel = pValue; }

    // The display record of this panel (index ID - 1 of its table).
    QString StdText() const;     // untrimmed short label
    QString StdLongText() const; // empty when the label has none
    virtual TColor StdColor() const;
    // A copy of record pIndex of the panel's table; outside the table raises ERangeError.
    virtual TStdDisplayRec GetBlockForIndex(int pIndex) const = 0;

    const TClickHandler &OnClick() const { return mOnClick; }
    void SetOnClick(TClickHandler pHandler) { mOnClick = std::move(pHandler); }
    // A click on an enabled panel: the handler runs first (it sees the state before the
    // toggle), then Selected toggles. A disabled panel ignores clicks.
    void Click();

    // Not selected, enabled, background and caption from the display record.
    void ResetState();

protected:
    explicit TBaseSelectBlockPanel(int pID) : fID(pID) {}
    // Background := StdColor, caption := trimmed StdText. Called by the concrete
    // constructors once the panel can look up its table.
    void ApplyDisplayRecord();

private:
    int fID;
    bool fSelected = false;
    bool fIsStdBlockPanel = false;
    TClickHandler mOnClick;
};

class TCBBlockPanelList;

// One standard of the curve type its list was built for.
class TStdPanel final : public TBaseSelectBlockPanel
{
public:
    TStdPanel(int pID, TCurveType pCurveType);

    // Raises "GetBlockForIndex(): Invalid number of standards" for a curve type other
    // than the two, ERangeError outside the table.
    TStdDisplayRec GetBlockForIndex(int pIndex) const override;
    TCurveType CurveType() const { return fCurveType; }

    // The current standards list; the 4-point one until SetBlockList chose another.
    static TCBBlockPanelList &GetBlockList();
    // Makes the list of that curve type current, its panels fresh (not selected,
    // enabled, their own greys). Lists are kept per curve type, so panels that block
    // wells refer to are never freed. Raises
    // "TStdPanel.SetBlockList(): Invalid curve type passed in." for another value.
    static void SetBlockList(TCurveType pCurveType);

private:
    TCurveType fCurveType;
};

// One well label of a subject layout.
class TBaseSamplePanel : public TBaseSelectBlockPanel
{
public:
    TStdDisplayRec GetBlockForIndex(int pIndex) const override;
    TCriteriaType CriteriaType() const { return fCriteriaType; }

protected:
    TBaseSamplePanel(int pID, TCriteriaType pCriteriaType);

private:
    TCriteriaType fCriteriaType;
};

// The panel class of one layout; GetBlockList returns its list, created on first use.
template <TCriteriaType CT> class TLayoutSamplePanel final : public TBaseSamplePanel
{
public:
    explicit TLayoutSamplePanel(int pID) : TBaseSamplePanel(pID, CT) {}
    static TCBBlockPanelList &GetBlockList();
};

using TSamplePanel = TLayoutSamplePanel<CT_CORVEX_TWO>;
using TCorvex3SamplePanel = TLayoutSamplePanel<CT_CORVEX_THREE>;
using TTorvinSamplePanel = TLayoutSamplePanel<CT_TORVIN>;
using TCMVNonDilutedPanel = TLayoutSamplePanel<CT_CMV_UNDILUTED>;
using TCMVPossiblyDiultedPanel = TLayoutSamplePanel<CT_CMV_POSSIBLY_DILUTED>;
using TCMVDilutedPanel = TLayoutSamplePanel<CT_CMV_DILUTED>;
using TCMVPossiblyDilutedCMVPanel = TLayoutSamplePanel<CT_CMV_POSSIBLY_DILUTED_CMV>;
using TCMVDilutedCMVPanel = TLayoutSamplePanel<CT_CMV_DILUTED_CMV>;
using TKRX415NonDilutedPanel = TLayoutSamplePanel<CT_KRX415_UNDILUTED>;
using TKRX41510Panel = TLayoutSamplePanel<CT_KRX415_1_10>;
using TKRX415100Panel = TLayoutSamplePanel<CT_KRX415_1_100>;
using TKRX41510100Panel = TLayoutSamplePanel<CT_KRX415_1_10_1_100>;
using TKRX415NonDiluted10Panel = TLayoutSamplePanel<CT_KRX415_UNDILUTED_1_10>;
using TKRX415NonDiluted10100Panel = TLayoutSamplePanel<CT_KRX415_UNDILUTED_1_10_1_100>;
using TRdSamplePanel = TLayoutSamplePanel<CT_RESEARCH_SAMPLE>;

// The panels of one layout, in block order; owns them. Lists are process-wide and are
// reached through GetListForCriteriaType or the panel classes' GetBlockList.
class TCBBlockPanelList
{
public:
    TCBBlockPanelList(TCriteriaType pCriteriaType, TCurveType pCurveType);
    TCBBlockPanelList(const TCBBlockPanelList &) = delete;
    TCBBlockPanelList &operator=(const TCBBlockPanelList &) = delete;

    void Add(std::unique_ptr<TBaseSelectBlockPanel> pPanel);
    int Count() const { return static_cast<int>(mItems.size()); }
    // Raises EListError outside 0 .. Count() - 1.
    TBaseSelectBlockPanel *GetItem(int pIndex) const;
    TBaseSelectBlockPanel *Items(int pIndex) const { return GetItem(pIndex); }

    TCriteriaType CriteriaType() const { return fCriteriaType; }
    // The curve type the list was built for (meaningful for a standards list).
    TCurveType CurveType() const { return fCurveType; }

    // Sample lists only: every panel takes the current subject colour.
    void UpdateColors();
    void EnableClicking(bool pEnable);
    void SelectAll(bool pSelect);
    // The first panel with that ID; none raises MarnovelException
    // "TCBBlockPanelList.GetBlockByID(): Could not find ID " followed by the number.
    TBaseSelectBlockPanel *GetBlockByID(int pID) const;

    // The list of a subject layout (0-7, 9-14, 90); any other code raises
    // "TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type.".
    static TCBBlockPanelList &GetListForCriteriaType(int pCriteriaType);

private:
    TCriteriaType fCriteriaType;
    TCurveType fCurveType;
    std::vector<std::unique_ptr<TBaseSelectBlockPanel>> mItems;
};

template <TCriteriaType CT> TCBBlockPanelList &TLayoutSamplePanel<CT>::GetBlockList()
{
    return TCBBlockPanelList::GetListForCriteriaType(CT);
}
