#include "plate/MarnovelTypes.h"

#include "core/Exceptions.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"

#include <cmath>
#include <limits>
#include <map>

QChar RowHeadingLetter(int gridRow)
{
    if (gridRow < 1 || gridRow > 26)
        return QChar();
    return QChar(static_cast<char16_t>(64 + gridRow));
}

QString WellName(QPoint gridCell)
{
    return QString(RowHeadingLetter(gridCell.y())) + QString::number(gridCell.x());
}

bool IsSubjectLayoutCriteriaType(int pOrdinal)
{
    return (pOrdinal >= CT_CORVEX_TWO && pOrdinal <= CT_CMV_DILUTED_CMV) ||
           (pOrdinal >= CT_KRX415_UNDILUTED && pOrdinal <= CT_KRX415_UNDILUTED_1_10_1_100) ||
           pOrdinal == CT_RESEARCH_SAMPLE;
}

void RaiseOrdinalSetRangeError(int pOrdinal, int pCapacity)
{
    throw ERangeError(BuildExceptionMessage(
        QStringLiteral("MarnovelTypes.TOrdinalSet"), QStringLiteral("pOrdinal=%1").arg(pOrdinal),
        QStringLiteral("Set members range from 0 to %1.").arg(pCapacity - 1)));
}

bool IsValidCurveType(int pOrdinal)
{
    return pOrdinal == CURVE_4POINT || pOrdinal == CURVE_8POINT;
}

QString LongTextOf(const TStdDisplayRec &pRec)
{
    return pRec.LongTextFunction ? pRec.LongTextFunction() : QString();
}

namespace {

// Long labels: catalogue texts are looked up on every call (NilText() ...), so a language switch
// shows.
QString CmvNilText()
{
    return QStringLiteral("Nil");
}
QString CmvText()
{
    return QStringLiteral("CMV");
}
QString CmvMitogenText()
{
    return QStringLiteral("Mitogen");
}
QString Cmv110Text()
{
    return QStringLiteral("CMV 1/10");
}
QString Mitogen110Text()
{
    return QStringLiteral("Mitogen 1/10");
}
QString UndilutedText()
{
    return QStringLiteral("Undiluted");
}
QString Dilution10Text()
{
    return QStringLiteral("1/10");
}
QString Dilution100Text()
{
    return QStringLiteral("1/100");
}
QString SampleText()
{
    return QStringLiteral("Sample");
}

struct LabelDef
{
    const char16_t *text;
    TGetstringFunction longText;
};

QList<TStdDisplayRec> Labels(std::initializer_list<LabelDef> pDefs)
{
    QList<TStdDisplayRec> labels;
    int id = 1;
    for (const LabelDef &def : pDefs)
        labels.append({id++, QString::fromUtf16(def.text), def.longText, SubjectWellLabelColor});
    return labels;
}

const std::map<int, QList<TStdDisplayRec>> &LayoutTable()
{
    static const std::map<int, QList<TStdDisplayRec>> table{
        {CT_CORVEX_TWO, Labels({{u"N", NilText}, {u"A", TbAgText}})},
        {CT_CORVEX_THREE, Labels({{u"N", NilText}, {u"A", TbAgText}, {u"M", MitogenText}})},
        {CT_TORVIN, Labels({{u"N", NilText}, {u"E", Esat6Text}, {u"C", Cfp10Text}, {u"M", MitogenText}})},
        {CT_CMV_UNDILUTED, Labels({{u"N", CmvNilText}, {u"C", CmvText}, {u"M", CmvMitogenText}})},
        {CT_CMV_POSSIBLY_DILUTED, Labels({{u"N", CmvNilText},
                                          {u"C", CmvText},
                                          {u"M", CmvMitogenText},
                                          {u"C1/10", Cmv110Text},
                                          {u"M1/10", Mitogen110Text}})},
        {CT_CMV_DILUTED, Labels({{u"N", CmvNilText}, {u"C1/10", Cmv110Text}, {u"M1/10", Mitogen110Text}})},
        {CT_CMV_POSSIBLY_DILUTED_CMV,
         Labels({{u"N", CmvNilText}, {u"C", CmvText}, {u"M", CmvMitogenText}, {u"C1/10", Cmv110Text}})},
        {CT_CMV_DILUTED_CMV, Labels({{u"N", CmvNilText}, {u"C1/10", Cmv110Text}, {u"M", CmvMitogenText}})},
        {CT_KRX415_UNDILUTED, Labels({{u" ", UndilutedText}})},
        {CT_KRX415_1_10, Labels({{u" 1/10", Dilution10Text}})},
        {CT_KRX415_1_100, Labels({{u" 1/100", Dilution100Text}})},
        {CT_KRX415_1_10_1_100, Labels({{u" 1/10", Dilution10Text}, {u" 1/100", Dilution100Text}})},
        {CT_KRX415_UNDILUTED_1_10, Labels({{u" ", UndilutedText}, {u" 1/10", Dilution10Text}})},
        {CT_KRX415_UNDILUTED_1_10_1_100,
         Labels({{u" ", UndilutedText}, {u" 1/10", Dilution10Text}, {u" 1/100", Dilution100Text}})},
        {CT_RESEARCH_SAMPLE, Labels({{u"", SampleText}})},
    };
    return table;
}

QList<TStdDisplayRec> Standards(std::initializer_list<TColor> pGreys)
{
    QList<TStdDisplayRec> standards;
    int id = 1;
    for (TColor grey : pGreys) {
        standards.append({id, QStringLiteral("S%1").arg(id), nullptr, grey});
        ++id;
    }
    return standards;
}

[[noreturn]] void RaiseInvalidCurveType()
{
    throw MarnovelException(QStringLiteral("TStdPanel.SetBlockList(): Invalid curve type passed in."));
}

} // namespace

const QList<TStdDisplayRec> &WellLabelsOfCriteriaType(int pCriteriaType)
{
    const auto &table = LayoutTable();
    const auto found = table.find(pCriteriaType);
    if (found == table.end())
        throw MarnovelException(
            QStringLiteral("TCBBlockPanelList.GetListForCriteriaType: Invalid Criteria type."));
    return found->second;
}

const QList<TStdDisplayRec> &StandardsOfCurveType(TCurveType pCurveType)
{
    static const QList<TStdDisplayRec> fourPoint =
        Standards({0x008C8C8C, 0x00AAAAAA, 0x00C8C8C8, 0x00E6E6E6});
    static const QList<TStdDisplayRec> eightPoint = Standards(
        {0x008C8C8C, 0x009B9B9B, 0x00AAAAAA, 0x00B9B9B9, 0x00C8C8C8, 0x00D7D7D7, 0x00E6E6E6, 0x00F5F5F5});
    switch (pCurveType) {
    case CURVE_4POINT:
        return fourPoint;
    case CURVE_8POINT:
        return eightPoint;
    }
    RaiseInvalidCurveType();
}

int StandardCountOfCurveType(TCurveType pCurveType)
{
    return static_cast<int>(StandardsOfCurveType(pCurveType).size());
}

TStdConcData DefaultStdConc(TCurveType pCurveType)
{
    switch (pCurveType) {
    case CURVE_4POINT:
        return TStdConcData(DefaultStdConc4Point.begin(), DefaultStdConc4Point.end());
    case CURVE_8POINT:
        return TStdConcData(DefaultStdConc8Point.begin(), DefaultStdConc8Point.end());
    }
    RaiseInvalidCurveType();
}

bool FitsSinglePrecision(double value)
{
    const double magnitude = std::fabs(value);
    return value == 0.0 ||
           (magnitude >= std::numeric_limits<float>::min() && magnitude <= std::numeric_limits<float>::max());
}

QString StdConcRangeText()
{
    return UiText(TextId::StdConcRange);
}

const QStringList &NotSpecifiedMarkers()
{
    static const QStringList markers{QStringLiteral("VALUE_NOT_SPECIFIED"),
                                     QStringLiteral("N/S"),
                                     QStringLiteral("N\\S"),
                                     QStringLiteral("K A."),
                                     QStringLiteral("Ausente"),
                                     QStringLiteral("N.C."),
                                     QStringLiteral("S/A"),
                                     QString::fromUtf16(u"Néant"),
                                     QStringLiteral("BPr"),
                                     QString::fromUtf16(u"Οχι/Δείγμα"),
                                     QString::fromUtf16(u"データなし")};
    return markers;
}

bool IsNotSpecifiedMarker(const QString &pText)
{
    return NotSpecifiedMarkers().contains(pText, Qt::CaseSensitive);
}

bool IsNotSpecifiedText(const QString &pText)
{
    return NotSpecifiedMarkers().contains(TrimSpaceAndBlanks(pText), Qt::CaseInsensitive);
}

const QStringList &MarkupTags()
{
    static const QStringList tags{
        QStringLiteral("<ROWSPAN="),     QStringLiteral("<COLSPAN="), QStringLiteral("<ROWSPANNED>"),
        QStringLiteral("<ColSPANNED>"),  QStringLiteral("<B>"),       QStringLiteral("</B>"),
        QStringLiteral("<I>"),           QStringLiteral("</I>"),      QStringLiteral("<BI>"),
        QStringLiteral("</BI>"),         QStringLiteral("<U>"),       QStringLiteral("</U>"),
        QStringLiteral("<BU>"),          QStringLiteral("</BU>"),     QStringLiteral("<SUPERSCRIPT>"),
        QStringLiteral("</SUPERSCRIPT>")};
    return tags;
}
