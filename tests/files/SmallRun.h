#pragma once

// A small calculated run shared by the file and export tests: a 4-point curve with two
// standard series in plate columns 1 and 2 (rows A-D) and five research samples in
// column 3 (rows A-E): 0.35, OVER, 2.5 (above the curve's range), N/S and 0.2.

#include "support/TestSupport.h"

#include "files/ExportTexts.h"
#include "plate/CellBlockRect.h"
#include "plate/CellColl.h"
#include "plate/MarnovelPanels.h"
#include "run/MarnovelRdData.h"
#include "run/RunCalculation.h"

#include <QMimeData>
#include <QPoint>
#include <QRegularExpression>
#include <QStringList>

#include <memory>

namespace SmallRun {

// Rows of the plate text; numbers written with "." and turned into the regional form.
inline QString PlateText(const QList<QStringList> &rows)
{
    QStringList lines;
    for (const QStringList &row : rows) {
        QStringList tokens;
        for (const QString &token : row)
            tokens << TestSupport::Dec(token);
        lines << tokens.join(u'\t');
    }
    return lines.join(u"\r\n");
}

inline QList<QStringList> DefaultPlate()
{
    const QString ns = QStringLiteral("N/S");
    return {{QStringLiteral("1.212"), QStringLiteral("1.190"), QStringLiteral("0.35")},
            {QStringLiteral("0.482"), QStringLiteral("0.470"), QStringLiteral("OVER")},
            {QStringLiteral("0.162"), QStringLiteral("0.150"), QStringLiteral("2.5")},
            {QStringLiteral("0.052"), QStringLiteral("0.048"), ns},
            {ns, ns, QStringLiteral("0.2")},
            {ns, ns, ns},
            {ns, ns, ns},
            {ns, ns, ns}};
}

// Adds a block laid out as the formatting toolbar would: fresh identifier, criteria type
// of its label list, one well per label in order.
inline OWCellBlockBase &AddBlock(TMarnovelData &data, bool standard, const QList<QPoint> &wells)
{
    auto block = std::make_unique<OWCellBlockRectCombined>();
    TCBBlockPanelList *labels = nullptr;
    if (standard) {
        block->setId(OWCellBlockBase::GetCurrentStandardIdStr(), true);
        block->SetCriteriaType(CT_STANDARDS);
        OWCellBlockBase::SetNextStandardId();
        labels = &TStdPanel::GetBlockList();
    } else {
        block->setId(OWCellBlockBase::GetCurrentSubjectIdStr(), false);
        block->SetCriteriaType(CT_RESEARCH_SAMPLE);
        block->SetFixedID(OWCellBlockBase::GetCurrentSubjectIdNumber());
        OWCellBlockBase::SetNextSubjectId();
        labels = &TCBBlockPanelList::GetListForCriteriaType(CT_RESEARCH_SAMPLE);
    }
    for (int i = 0; i < wells.size(); ++i)
        block->addWithID(wells.at(i), labels->GetItem(i));
    OWCellBlockBase &added = *block;
    if (standard)
        data.StdBlocks().add(std::move(block));
    else
        data.RawData().add(std::move(block));
    return added;
}

// Pastes the plate and lays out the standards and samples (not calculated).
inline void LayOut(TMarnovelData &data, const QList<QStringList> &plate = DefaultPlate())
{
    OWCellBlockBase::SetIdentifierCount(1);
    OWCellBlockBase::Reset();
    data.SetCurveType(CURVE_4POINT);
    QMimeData mime;
    mime.setText(PlateText(plate));
    data.loadDataObject(&mime);
    for (int col = 1; col <= 2; ++col)
        AddBlock(data, true, {QPoint(col, 1), QPoint(col, 2), QPoint(col, 3), QPoint(col, 4)});
    for (int row = 1; row <= 5; ++row)
        AddBlock(data, false, {QPoint(3, row)});
}

inline TRunDetails Details()
{
    return {QDate(2017, 5, 31), QStringLiteral("12"), QStringLiteral("K0001"), QStringLiteral("A. Smith")};
}

// An expected text written with "." in its numbers, in the regional form: every
// tab-separated field that is a decimal number gets the regional separator.
inline QString Localised(const QString &expected)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+\\.\\d+$"));
    QStringList lines = expected.split(QStringLiteral("\r\n"));
    for (QString &line : lines) {
        QStringList fields = line.split(u'\t');
        for (QString &field : fields) {
            if (number.match(field).hasMatch())
                field = TestSupport::Dec(field);
        }
        line = fields.join(u'\t');
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace SmallRun
