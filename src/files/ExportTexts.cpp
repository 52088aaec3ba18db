#include "files/ExportTexts.h"

#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "run/MarnovelData.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Tab = u"\t"_s;
const QString CrLf = u"\r\n"_s;

// A text that came from an edit, a file or the plate: a tab or line break in it would
// shift the columns of everything after it.
QString Field(const QString &text)
{
    return ReplaceControlChars(text);
}

QString RunDateText(const QDate &date)
{
    return FormatDate(u"dd/mmm/yyyy"_s, date);
}

QString VerdictText(bool valid)
{
    return UiText(valid ? 106 : 107);
}

// Run number, tab, run date, tab, QC verdict: the start of every data line.
QString LineStart(const TRunDetails &details, bool valid)
{
    return Field(details.RunNumber) + Tab + RunDateText(details.RunDate) + Tab + VerdictText(valid);
}

QString WithoutLineBreaks(const QString &text)
{
    return RemoveAllOf(text, CrLf);
}

// Cell of the standards table (outer index = column); empty outside it.
QString TableCell(const TStringGridData &table, int col, int row)
{
    if (col < 0 || col >= table.size() || row < 0 || row >= table.at(col).size())
        return QString();
    return table.at(col).at(row);
}

int TableRowCount(const TStringGridData &table)
{
    return table.isEmpty() ? 0 : static_cast<int>(table.first().size());
}

} // namespace

QString ExportPreamble(const TRunDetails &pDetails)
{
    return UiText(TextId::Version) + u": "_s + GetSoftwareInfoManager().GetVersNumberStr() + CrLf +
           UiText(TextId::Operator) + u": "_s + Field(pDetails.OperatorName) + CrLf +
           UiText(TextId::KitBatchNumber) + u": "_s + Field(pDetails.KitBatchNumber) + CrLf;
}

QString BuildResultsExportText(const TMarnovelData &pData, const TRunCalculationResult &pResult,
                               const TRunDetails &pDetails)
{
    const int k = OWCellBlockBase::GetIdentifierCount();
    const int resultCount = pData.ResultGridCount().X;
    const int lastGridColumn = resultCount; // the grid has the identifier column and X result columns

    QString text = ExportPreamble(pDetails);
    if (k > 0)
        text += UiText(TextId::SubjectId) + Tab;
    text += UiText(TextId::RunNumber) + Tab + UiText(TextId::RunDate) + Tab + UiText(TextId::ValidTest);
    for (int c = std::max(k, 0); c <= lastGridColumn; ++c)
        text += Tab + (c == 0 ? UiText(TextId::SubjectId) : pData.resultGridColHeading(c - 1));
    text += CrLf;

    const int lastResult = std::min(resultCount - k, OWCellBlockBase::ResultSlotCount - 1);
    for (const auto &block : pData.RawData().Blocks()) {
        if (k > 0)
            text += Field(block->id()) + Tab;
        text += LineStart(pDetails, pResult.Valid);
        for (int i = 0; i <= lastResult; ++i)
            text += Tab + StripMarkup(block->getResult(i));
        text += CrLf;
    }

    const QStringList footnote = ResultTexts::FootnoteLines(pResult);
    for (std::size_t i = 0; i < pResult.FootnoteAnnotations.size(); ++i) {
        text += footnote.at(static_cast<qsizetype>(i));
        if (FindAnnotation(pResult.FootnoteAnnotations[i])->ExportLineEnd)
            text += CrLf;
    }
    return text;
}

QString BuildRawDataExportText(const TMarnovelData &pData, const TRunCalculationResult &pResult,
                               const TRunDetails &pDetails, const ITextGrid &pRawDataGrid)
{
    const TStringGridData standards = ResultTexts::StandardsTable(pResult.Qc.Standards);
    const OWCells &stdBlocks = pData.StdBlocks();
    const int C = pRawDataGrid.ColCount();
    const int n = stdBlocks.GetCount();
    const OWCellBlockBase *firstStd = stdBlocks.getCellInteger(0);
    const int R = std::max(pRawDataGrid.RowCount(), firstStd ? firstStd->Count() : 0);
    const int stdRows = TableRowCount(standards);

    QString text = ExportPreamble(pDetails);
    text += WithoutLineBreaks(UiText(TextId::RunNumber)) + Tab + WithoutLineBreaks(UiText(TextId::RunDate)) +
            Tab + WithoutLineBreaks(UiText(TextId::ValidTest)) + Tab +
            WithoutLineBreaks(UiText(TextId::RawDataOd)) + RepeatChar(u'\t', C);
    text += UiText(TextId::StdHeading) + Tab + WithoutLineBreaks(UiText(TextId::ConcHeading)) + Tab +
            WithoutLineBreaks(UiText(TextId::RawDataOd)) + RepeatChar(u'\t', n);
    text += WithoutLineBreaks(UiText(TextId::MeanHeading)) + Tab +
            WithoutLineBreaks(UiText(TextId::CvHeading)) + Tab +
            WithoutLineBreaks(UiText(TextId::QcResultHeading)) + Tab +
            WithoutLineBreaks(UiText(TextId::CorrelationCoefficient)) + CrLf;

    for (int r = 1; r < R; ++r) {
        text += LineStart(pDetails, pResult.Valid) + Tab;
        for (int c = 1; c < C; ++c)
            text += Field(pRawDataGrid.Cell(c, r)) + Tab;
        text += Tab;
        const bool standardRow = r < stdRows;
        text += standardRow ? TableCell(standards, 0, r) : Tab;
        text += Tab;
        // Without any standard block there is no concentration to show either.
        if (!firstStd || firstStd->Count() < r) {
            text += RepeatChar(u'\t', n);
        } else {
            text += TableCell(standards, 1, r) + Tab;
            for (const auto &block : stdBlocks.Blocks())
                text += FormatGeneral(block->getValue(r - 1), 15) + Tab;
        }
        text += standardRow ? TableCell(standards, 2, r) + Tab + TableCell(standards, 3, r) + Tab +
                                  TableCell(standards, 4, r)
                            : Tab;
        if (r == 1)
            text += Tab + ResultTexts::Correlation(pResult.Correlation);
        text += CrLf;
    }
    return text;
}

void FillRawDataGrid(const TMarnovelData &pData, ITextGrid &pGrid)
{
    pData.copyDataToStringgrid(pGrid);
    pGrid.SetCell(0, 0, QString());
    for (int col = 1; col < pGrid.ColCount(); ++col)
        pGrid.SetCell(col, 0, QString::number(col));
    for (int row = 1; row < pGrid.RowCount(); ++row)
        pGrid.SetCell(0, row, QString(RowHeadingLetter(row)));
}

QByteArray ExportFileBytes(const QString &pText)
{
    return QByteArray("\xEF\xBB\xBF") + pText.toUtf8();
}

void WriteExportFile(const QString &pFileName, const QString &pText)
{
    WriteFileAtomically(pFileName, ExportFileBytes(pText));
}

QString ProposedExportFileName(const QDate &pRunDate, const QString &pWord, const QString &pExtension)
{
    return UniqueFileName(GetConfigManager().GetDirExportFiles(),
                          FormatDate(ShortFileDateFormatPattern(), pRunDate) + pWord, pExtension);
}
