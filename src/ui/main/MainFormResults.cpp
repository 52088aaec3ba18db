// Calculate, the Standards Results and Subject Results tabs, and the two exports. The views
// show what the last calculation gave; painting them never calculates.

#include "MainFormCombinedRd.h"

#include "CurveChart.h"
#include "ExportSelectionForm.h"
#include "RawDataGrid.h"
#include "ResultsViews.h"
#include "RunDatePicker.h"
#include "RunSessionNotifier.h"
#include "UiColors.h"
#include "core/Annotations.h"
#include "core/Exceptions.h"
#include "core/FontManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "platform/ReportPictures.h"
#include "platform/WindowTools.h"
#include "reports/ReportSource.h"
#include "run/MarnovelData.h"
#include "run/QcRules.h"
#include "run/RunCalculation.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// Between a caption and its edit.
constexpr int kCaptionGap = 8;
// Inside the ELISA results box, above and below its texts.
constexpr int kResultsPadding = 4;
constexpr int kSmallestCaptionPointSize = 7;

void SetTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

// Text 79 in green or text 80 in red; the text id shown.
int ShowPassFail(QLabel *label, bool pass)
{
    const int id = pass ? TextId::Pass : TextId::Fail;
    label->setText(UiText(id));
    SetTextColor(label, QColor(pass ? PassGreen : FailRed));
    return id;
}

// The height a word-wrapped label needs at that width, at least one line.
int LabelHeight(const QLabel *label, int width)
{
    const int wrapped = label->text().isEmpty() ? 0 : label->heightForWidth(width);
    return std::max(wrapped, label->fontMetrics().height());
}

int LongestWordWidth(const QLabel *label)
{
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString &word : label->text().split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

// A caption ending kCaptionGap left of its edit, no further left than `left`, centred
// vertically on the edit; it wraps when it is too long for one line.
void PlaceCaption(QLabel *caption, const QWidget *edit, int left)
{
    const int right = edit->x() - kCaptionGap;
    const int width = std::max(1, right - left);
    const int height = LabelHeight(caption, width);
    caption->setGeometry(left, edit->y() + (edit->height() - height) / 2, width, height);
}

// The footnote lines in the current language: each line starts with its annotation's sign.
QStringList RetextedFootnote(const QStringList &lines)
{
    const std::span<const TAnnotationInfo> annotations = FootnotedAnnotations();
    QStringList retexted;
    for (const QString &line : lines) {
        const auto annotation =
            std::find_if(annotations.begin(), annotations.end(),
                         [&line](const auto &entry) { return line.startsWith(AnnotationSign(entry)); });
        retexted << (annotation == annotations.end() ? line : FootnoteLine(*annotation));
    }
    return retexted;
}

} // namespace

// ---- construction -------------------------------------------------------------------------

void TfrmMainCombinedRd::BuildResultsPage()
{
    auto *layout = static_cast<QVBoxLayout *>(resultsSheet->layout());
    auto *content = new QWidget(resultsSheet);
    auto *columns = new QHBoxLayout(content);
    layout->addWidget(content, 1);

    // The left side is placed by LayoutResultsPanel.
    pnlStandardsResults = Named(new QWidget(content), u"pnlStandardsResults"_s);
    columns->addWidget(pnlStandardsResults, 1);
    concGd = Named(new TStandardsGrid(pnlStandardsResults), u"concGd"_s);

    curveDetailsGb = Named(new QGroupBox(pnlStandardsResults), u"curveDetailsGb"_s);
    interceptLa = Named(new QLabel(curveDetailsGb), u"interceptLa"_s);
    slopeLa = Named(new QLabel(curveDetailsGb), u"slopeLa"_s);
    corrCoeffLa = Named(new QLabel(curveDetailsGb), u"corrCoeffLa"_s);
    regressResultLa = Named(new QLabel(curveDetailsGb), u"regressResultLa"_s);
    interceptEd = Named(new QLineEdit(curveDetailsGb), u"interceptEd"_s);
    slopeEd = Named(new QLineEdit(curveDetailsGb), u"slopeEd"_s);
    corrCoefEd = Named(new QLineEdit(curveDetailsGb), u"corrCoefEd"_s);
    for (QLineEdit *edit : {interceptEd, slopeEd, corrCoefEd}) {
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignRight);
    }
    for (QLabel *caption : {interceptLa, slopeLa, corrCoeffLa}) {
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setWordWrap(true);
    }
    regressResultLa->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    calcResultsGb = Named(new QGroupBox(pnlStandardsResults), u"calcResultsGb"_s);
    qaResultsLa = Named(new QLabel(calcResultsGb), u"qaResultsLa"_s);
    lblInvestigateWashCriteria = Named(new QLabel(calcResultsGb), u"lblInvestigateWashCriteria"_s);
    for (QLabel *label : {qaResultsLa, lblInvestigateWashCriteria}) {
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QFont bold = lblInvestigateWashCriteria->font();
    bold.setBold(true);
    lblInvestigateWashCriteria->setFont(bold);
    SetTextColor(lblInvestigateWashCriteria, QColor(NoteBlue));
    lblInvestigateWashCriteria->hide();

    auto *right = new QVBoxLayout;
    columns->addLayout(right, 1);
    lblChartTitle = Named(new QLabel(content), u"lblChartTitle"_s);
    lblChartTitle->setAlignment(Qt::AlignCenter);
    SetTextColor(lblChartTitle, QColor(NoteBlue));
    right->addWidget(lblChartTitle);
    StandardsResultDiagram = Named(new TCurveChart(content), u"StandardsResultDiagram"_s);
    right->addWidget(StandardsResultDiagram, 1);
}

void TfrmMainCombinedRd::BuildSamplesPage()
{
    auto *layout = static_cast<QVBoxLayout *>(samplesSheet->layout());
    resultGd = Named(new TResultGrid(samplesSheet), u"resultGd"_s);
    layout->addWidget(resultGd, 1);
    Panel2 = Named(new QWidget(samplesSheet), u"Panel2"_s);
    auto *footnote = new QVBoxLayout(Panel2);
    lblResultGridFootnote = Named(new QLabel(Panel2), u"lblResultGridFootnote"_s);
    lblResultGridFootnote->setWordWrap(true);
    lblResultGridFootnote->setTextFormat(Qt::PlainText);
    footnote->addWidget(lblResultGridFootnote);
    Panel2->hide();
    layout->addWidget(Panel2);
}

void TfrmMainCombinedRd::InitializeResultsText()
{
    const int charset = GetTranslationManager().DetermineCharset();
    const auto pointSize = [charset](FONTUSAGE usage) {
        return GetFontManager().DetermineFontSize(charset, usage);
    };
    resultGd->SetFontSizes(pointSize(GRID_RESULT_DATA), pointSize(GRID_RESULT_HEADING));
    QFont standards = concGd->font();
    standards.setPointSize(pointSize(GRID_STD));
    concGd->setFont(standards);
    for (QLabel *label : {regressResultLa, qaResultsLa, lblInvestigateWashCriteria}) {
        QFont font = label->font();
        font.setPointSize(pointSize(CONTROL_LABEL_ELISA));
        label->setFont(font);
    }
    StandardsResultDiagram->UpdateNumberFormat();

    SetStandardsGridHeadings();
    resultGd->SetCell(0, 0, UiText(TextId::SubjectId));
    for (int col = 1; col < resultGd->columnCount(); ++col)
        resultGd->SetCell(col, 0, mData->resultGridColHeading(col - 1));
    // Results already shown speak the new language too.
    for (int row = 1; row < concGd->rowCount(); ++row) {
        if (const std::optional<bool> pass = concGd->Passed(row))
            concGd->SetCell(TStandardsGrid::QcColumn, row, UiText(*pass ? TextId::Pass : TextId::Fail));
    }
    if (mRegressResultTextId != 0)
        regressResultLa->setText(UiText(mRegressResultTextId));
    if (mVerdictTextId != 0)
        qaResultsLa->setText(UiText(mVerdictTextId));
    if (!lblInvestigateWashCriteria->text().isEmpty())
        lblInvestigateWashCriteria->setText(UiText(TextId::PlateWashingNote));
    if (mLastResult) {
        mLastResult->FootnoteLines = RetextedFootnote(mLastResult->FootnoteLines);
        ShowFootnote(mLastResult->FootnoteLines);
        ShowQcExplanations();
    }
}

TfrmMainCombinedRd::TResultCellTexts TfrmMainCombinedRd::ResultCellTexts()
{
    return {{TextId::NotSpecified, UiText(TextId::NotSpecified)},
            {TextId::NotApplicable, UiText(TextId::NotApplicable)}};
}

void TfrmMainCombinedRd::RetextResultCells(const TResultCellTexts &before)
{
    // Column 0 holds names, which are the operator's.
    const auto retext = [&before](auto *grid) {
        for (int col = 1; col < grid->columnCount(); ++col) {
            for (int row = 1; row < grid->rowCount(); ++row) {
                const QString cell = grid->Cell(col, row);
                for (const auto &[id, text] : before) {
                    if (cell == text) {
                        grid->SetCell(col, row, UiText(id));
                        break;
                    }
                }
            }
        }
    };
    retext(concGd);
    retext(resultGd);
}

// ---- curve details --------------------------------------------------------------------------

void TfrmMainCombinedRd::SetIntercept(double value)
{
    mIntercept = value;
    interceptEd->setText(FormatFixed(value, 4));
}

void TfrmMainCombinedRd::SetSlope(double value)
{
    mSlope = value;
    slopeEd->setText(FormatFixed(value, 4));
}

void TfrmMainCombinedRd::SetCorrCoeff(double value)
{
    mCorrCeoff = value;
    corrCoefEd->setText(FormatTwoDecimals(value));
    mRegressResultTextId = ShowPassFail(regressResultLa, TMarnovelData::IsValidCoefficient(value));
}

void TfrmMainCombinedRd::ShowCurveDetails(const TRunCalculationResult &result)
{
    // The calculation's own texts, so that the window and the tool show the same.
    mIntercept = result.Intercept;
    mSlope = result.Slope;
    mCorrCeoff = result.Correlation;
    interceptEd->setText(result.InterceptText);
    slopeEd->setText(result.SlopeText);
    corrCoefEd->setText(result.CorrelationText);
    mRegressResultTextId = ShowPassFail(regressResultLa, result.CorrelationPass);
}

// ---- standards grid and result grid ---------------------------------------------------------

void TfrmMainCombinedRd::SetStandardsGridHeadings()
{
    const int headings[5] = {TextId::StdHeading, TextId::ConcHeading, TextId::MeanHeading, TextId::CvHeading,
                             TextId::QcResultHeading};
    for (int col = 0; col < 5; ++col)
        concGd->SetCell(col, 0, UiText(headings[col]));
    concGd->SetCell(TStandardsGrid::FlagColumn, 0, QString());
}

void TfrmMainCombinedRd::ResetStandardsGrid()
{
    const int count = mData->StdConcSize();
    concGd->setRowCount(count + 1);
    SetResultCommandsEnabled(false);
    SetStandardsGridHeadings();
    const TStdConcData &concentrations = mData->StdConc();
    for (int i = 0; i < count; ++i) {
        concGd->SetCell(0, i + 1, u"S"_s + QString::number(i + 1));
        for (int col = 2; col < TStandardsGrid::ColumnCount; ++col)
            concGd->SetCell(col, i + 1, QString());
        concGd->SetCellToolTip(TStandardsGrid::QcColumn, i + 1, QString());
        concGd->SetCell(1, i + 1, FormatFixed(concentrations.value(i), StdConcDecimals()));
    }
}

void TfrmMainCombinedRd::initResultGrid()
{
    const TResultGridCount count = mData->ResultGridCount();
    resultGd->setColumnCount(count.X + 1);
    resultGd->setRowCount(std::max(count.Y, 2));
    for (int col = 0; col < resultGd->columnCount(); ++col) {
        for (int row = 1; row < resultGd->rowCount(); ++row)
            resultGd->SetCell(col, row, QString());
    }
    resultGd->SetCell(0, 0, UiText(TextId::SubjectId));
    for (int col = 1; col < resultGd->columnCount(); ++col)
        resultGd->SetCell(col, 0, mData->resultGridColHeading(col - 1));
    LayoutResultGrids();
}

void TfrmMainCombinedRd::LayoutResultGrids()
{
    concGd->LayoutColumns();
    resultGd->LayoutColumns();
}

int TfrmMainCombinedRd::MinLastColWidth() const
{
    return resultGd->MinLastColWidth();
}

void TfrmMainCombinedRd::PopulateResultsGrid()
{
    Panel2->hide();
    const OWCells &subjects = mData->RawData();
    resultGd->setRowCount(std::max(subjects.GetCount() + 1, 2));
    const int lastColumn = std::min(resultGd->columnCount() - 1, OWCellBlockBase::ResultSlotCount);
    for (int k = 0; k < subjects.GetCount(); ++k) {
        const OWCellBlockBase *block = subjects.getCellInteger(k);
        if (!block)
            break;
        resultGd->SetCell(0, k + 1, block->id());
        for (int col = 1; col <= lastColumn; ++col)
            resultGd->SetCell(col, k + 1, block->getResult(col - 1));
    }
    ShowFootnote(mLastResult ? mLastResult->FootnoteLines : QStringList());
    resultGd->clearSelection();
}

void TfrmMainCombinedRd::ShowFootnote(const QStringList &lines)
{
    lblResultGridFootnote->setText(lines.isEmpty() ? QString() : lines.join(u'\n') + u' ');
    Panel2->setVisible(!lines.isEmpty());
}

// ---- the Standards Results tab's left side ------------------------------------------------------

void TfrmMainCombinedRd::LayoutResultsPanel()
{
    const int width = pnlStandardsResults->width();
    const bool eightPoint = mData->GetCurveType() == CURVE_8POINT;

    // Curve details: intercept and slope on the first row, the correlation on the second,
    // a gap s before, between and after them; columns in sevenths of the box.
    const QMargins details = curveDetailsGb->contentsMargins();
    const int edit = interceptEd->sizeHint().height();
    const int gap = eightPoint ? static_cast<int>(std::lround(edit / 2.0)) : edit;
    const int detailsHeight = details.top() + 3 * gap + 2 * edit + details.bottom();
    const int client = std::max(0, width - details.left() - details.right());
    const int unit = static_cast<int>(std::lround(client / 7.0));
    const int editWidth = static_cast<int>(std::lround(1.5 * unit));
    const int firstRow = details.top() + gap;
    const int secondRow = firstRow + edit + gap;
    interceptEd->setGeometry(details.left() + 2 * unit, firstRow, editWidth, edit);
    slopeEd->setGeometry(details.left() + 5 * unit, firstRow, editWidth, edit);
    corrCoefEd->setGeometry(details.left() + 2 * unit, secondRow, editWidth, edit);

    // Captions that do not fit their room even on two lines get a smaller size, all three alike.
    const QList<std::pair<QLabel *, QWidget *>> captions{
        {interceptLa, interceptEd}, {slopeLa, slopeEd}, {corrCoeffLa, corrCoefEd}};
    const auto leftOf = [&](const QWidget *editOfCaption) {
        return editOfCaption == slopeEd ? interceptEd->geometry().right() + 1 + kCaptionGap : details.left();
    };
    int pointSize =
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT);
    const auto fits = [&] {
        for (const auto &[caption, captionEdit] : captions) {
            const int room = captionEdit->x() - kCaptionGap - leftOf(captionEdit);
            if (LongestWordWidth(caption) > room || LabelHeight(caption, room) > edit + 2 * gap)
                return false;
        }
        return true;
    };
    for (const auto &caption : captions) {
        QFont font = caption.first->font();
        font.setPointSize(pointSize);
        caption.first->setFont(font);
    }
    while (pointSize > kSmallestCaptionPointSize && !fits()) {
        --pointSize;
        for (const auto &caption : captions) {
            QFont font = caption.first->font();
            font.setPointSize(pointSize);
            caption.first->setFont(font);
        }
    }
    for (const auto &[caption, captionEdit] : captions)
        PlaceCaption(caption, captionEdit, leftOf(captionEdit));
    regressResultLa->setGeometry(slopeEd->x(), corrCoeffLa->y(),
                                 std::max(1, client + details.left() - slopeEd->x()), corrCoeffLa->height());

    // ELISA results: the verdict, and below it the plate-washing note when it is shown or the
    // curve is 4-point.
    const bool note = ShouldShowPlateWashingStr();
    lblInvestigateWashCriteria->setVisible(note);
    const QMargins results = calcResultsGb->contentsMargins();
    const int textWidth = std::max(1, width - results.left() - results.right() - 2 * kResultsPadding);
    const int verdictHeight = LabelHeight(qaResultsLa, textWidth);
    int noteHeight = 0;
    if (note || !eightPoint)
        noteHeight = std::max(verdictHeight, note ? LabelHeight(lblInvestigateWashCriteria, textWidth) : 0);
    const int top = results.top() + kResultsPadding;
    qaResultsLa->setGeometry(results.left() + kResultsPadding, top, textWidth, verdictHeight);
    lblInvestigateWashCriteria->setGeometry(results.left() + kResultsPadding, top + verdictHeight, textWidth,
                                            noteHeight);
    const int resultsHeight = top + verdictHeight + noteHeight + kResultsPadding + results.bottom();

    // The grid takes what the boxes leave; each box 1 px below the control above it.
    const int gridHeight = std::max(0, pnlStandardsResults->height() - detailsHeight - resultsHeight - 2);
    concGd->setGeometry(0, 0, width, gridHeight);
    curveDetailsGb->setGeometry(0, gridHeight + 1, width, detailsHeight);
    calcResultsGb->setGeometry(0, gridHeight + 1 + detailsHeight + 1, width, resultsHeight);
}

bool TfrmMainCombinedRd::ShouldShowPlateWashingStr() const
{
    int zeroStandardRow = 0;
    switch (mData->GetCurveType()) {
    case CURVE_4POINT:
        zeroStandardRow = 4;
        break;
    case CURVE_8POINT:
        zeroStandardRow = 8;
        break;
    default:
        ShowErrorMessage(u"ShouldShowPlateWashingStr(): Invalid curve type."_s);
        return false;
    }
    return ShouldShowPlateWashing(concGd->Cell(2, zeroStandardRow));
}

int TfrmMainCombinedRd::getResultCellWidth(int column, const QPainter &canvas, bool fromPrinting,
                                           const QString &heading) const
{
    Q_UNUSED(fromPrinting);
    return ReportResultCellWidth(column, canvas, heading);
}

// ---- Calculate --------------------------------------------------------------------------------

void TfrmMainCombinedRd::DropCalculation()
{
    mSession->DiscardResults();
    mLastResult.reset();
    StandardsResultDiagram->ClearCurve();
    regressResultLa->setToolTip(QString());
    qaResultsLa->setToolTip(QString());
}

void TfrmMainCombinedRd::calcCurvePbClick()
{
    if (mManualDataEntryMode)
        ApplyGridTextToData();
    DropCalculation();
    initResultGrid();
    SetResultCommandsEnabled(true);
    // The same calculation as the tool's, so that both show the same texts. A refused one
    // (text 185) leaves nothing of an earlier calculation on the results tabs.
    const TRunStepResult step = mNotifier->Calculate();
    if (!step.Ok()) {
        ShowErrorMessage(step.Text());
        mPassedQACriteria = false;
        return;
    }
    calcCurvePb->setEnabled(false);
    GetReportPictures().TakePlateBMP(rawDataGd);
    SetActivePage(ResultsPage);
    UpdateNavigation();
    GetReportPictures().TakeChartBMP(StandardsResultDiagram);
    LayoutResultsPanel();
    concGd->clearSelection();
    SetFocusIfEnabled(btnPageRight);
}

void TfrmMainCombinedRd::ShowCalculation(const TRunCalculationResult &result)
{
    mLastResult = std::make_unique<TRunCalculationResult>(result);
    const TRunCalculationResult &shown = *mLastResult;
    mPassedQACriteria = shown.Valid;

    const TStringGridData &table = shown.StandardsTable;
    for (int col = 0; col < table.size() && col < concGd->columnCount(); ++col) {
        const QStringList &column = table.at(col);
        for (int row = 0; row < column.size() && row < concGd->rowCount(); ++row)
            concGd->SetCell(col, row, column.at(row));
    }
    PopulateResultsGrid();
    ShowCurveDetails(shown);
    if (ShouldShowPlateWashingStr())
        lblInvestigateWashCriteria->setText(UiText(TextId::PlateWashingNote));
    mVerdictTextId = shown.Valid ? TextId::ValidRun : mTextIdInvalidELISATestRunStrong;
    ShowVerdict();
    ShowQcExplanations();
    StandardsResultDiagram->SetCurve(shown.CurvePoints, shown.Slope, shown.Intercept);
    LayoutResultsPanel();
}

void TfrmMainCombinedRd::ShowVerdict()
{
    qaResultsLa->setText(UiText(mVerdictTextId));
    QFont font = qaResultsLa->font();
    font.setBold(mVerdictTextId != TextId::ValidRun);
    qaResultsLa->setFont(font);
    SetTextColor(qaResultsLa, QColor(mVerdictTextId == TextId::ValidRun ? PassGreen : FailRed));
}

void TfrmMainCombinedRd::ShowQcExplanations()
{
    if (!mLastResult)
        return;
    const TRunQc &qc = mLastResult->Qc;
    for (std::size_t i = 0; i < qc.Standards.size(); ++i)
        concGd->SetCellToolTip(TStandardsGrid::QcColumn, static_cast<int>(i) + 1,
                               QcToolTip(QcToolTipRows(qc.Standards[i].Checks)));
    std::vector<TQcCheck> correlation;
    for (const TQcCheck &check : qc.Run)
        if (check.Rule.Name == QcRule::Correlation.Name)
            correlation.push_back(check);
    regressResultLa->setToolTip(QcToolTip(QcToolTipRows(correlation)));
    // The verdict: the run's rules, then what failed in the standards.
    QString rows = QcToolTipRows(qc.Run);
    for (const TStandardQc &standard : qc.Standards) {
        std::vector<TQcCheck> failed;
        std::copy_if(standard.Checks.begin(), standard.Checks.end(), std::back_inserter(failed),
                     [](const TQcCheck &check) { return !check.Passed; });
        rows += QcToolTipRows(failed, standard.Name);
    }
    qaResultsLa->setToolTip(QcToolTip(rows));
}

// ---- exports ------------------------------------------------------------------------------------

// The exports are the tool's: the run workflow builds them with the run details shown.
QString TfrmMainCombinedRd::ExportText(QString (TRunSession::*text)() const)
{
    mSession->SetDetails(RunDetailsShown());
    return (mSession.get()->*text)();
}

void TfrmMainCombinedRd::resultsExportPbClick()
{
    const QString text = ExportText(&TRunSession::ResultsExportText);
    if (text.isEmpty())
        return; // nothing calculated
    RunExportSelection(this, text, u"ResultExp"_s, runDateDtNormal->date(), [](TExportSelectionType type) {
        if (type == EXP_CLIPBOARD)
            ShowErrorMessage(UiText(TextId::ResultsCopied));
    });
}

void TfrmMainCombinedRd::rawDataExportPbClick()
{
    const QString text = ExportText(&TRunSession::RawDataExportText);
    if (text.isEmpty())
        return;
    RunExportSelection(this, text, u"DataExp"_s, runDateDtNormal->date(), [](TExportSelectionType type) {
        if (type == EXP_CLIPBOARD)
            ShowErrorMessage(UiText(TextId::RawDataCopied));
    });
}
