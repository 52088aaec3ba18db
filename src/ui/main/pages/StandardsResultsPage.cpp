#include "StandardsResultsPage.h"

#include "core/FontManager.h"
#include "core/TextIds.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/WindowTools.h"
#include "run/MarnovelRdData.h"
#include "run/QcRules.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "ui/main/CurveChart.h"
#include "ui/main/PanelGeometry.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/UiColors.h"
#include "ui/main/grids/ResultsViews.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// Between a caption and its edit.
constexpr int kCaptionGap = 8;
constexpr int kSmallestCaptionPointSize = 7;

void SetTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

// Text 79 in green or text 80 in red.
void ShowPassFail(QLabel *label, bool pass)
{
    label->setText(ResultTexts::PassFail(pass));
    SetTextColor(label, QColor(pass ? PassGreen : FailRed));
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

} // namespace

TStandardsResultsPage::TStandardsResultsPage(TRunSession &session, TRunSessionNotifier &notifier,
                                             QWidget *parent)
    : QWidget(parent), mSession(session)
{
    setObjectName(u"resultsSheet"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *content = new QWidget(this);
    auto *columns = new QHBoxLayout(content);
    layout->addWidget(content, 1);

    // The left side is placed by LayoutResultsPanel.
    pnlStandardsResults = Named(new QWidget(content), u"pnlStandardsResults"_s);
    columns->addWidget(pnlStandardsResults, 1);
    concGd = Named(new TStandardsGrid(pnlStandardsResults), u"concGd"_s);
    mModel = new TStandardsResultsModel(session, concGd);
    concGd->setModel(mModel);

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

    Retranslate();
    ShowCurveType();

    connect(&notifier, &TRunSessionNotifier::calculated, this, &TStandardsResultsPage::ShowResults);
    connect(&notifier, &TRunSessionNotifier::resultsDiscarded, this, &TStandardsResultsPage::ShowResults);
    connect(&notifier, &TRunSessionNotifier::curveTypeChanged, this, &TStandardsResultsPage::ShowCurveType);
}

QString TStandardsResultsPage::RegressResultCaption() const
{
    return regressResultLa->text();
}

void TStandardsResultsPage::Retranslate()
{
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {
        {calcResultsGb, 86}, {curveDetailsGb, 82}, {interceptLa, 83}, {slopeLa, 84}, {corrCoeffLa, 85},
    };
    for (const auto &text : texts)
        SetControlText(text.control, text.id, true);
    SetControlText(lblChartTitle, UiText(TextId::CalculatedPlots), CONTROL_DEFAULT);
    // Neither the grid nor the chart has a caption of its own for a screen reader.
    concGd->setAccessibleName(UiText(19));
    StandardsResultDiagram->setAccessibleName(UiText(TextId::CalculatedPlots));

    const int charset = GetTranslationManager().DetermineCharset();
    const auto pointSize = [charset](FONTUSAGE usage) {
        return GetFontManager().DetermineFontSize(charset, usage);
    };
    QFont edits = interceptEd->font();
    edits.setPointSize(pointSize(CONTROL_DEFAULT));
    for (QLineEdit *edit : {interceptEd, slopeEd, corrCoefEd})
        edit->setFont(edits);
    QFont standards = concGd->font();
    standards.setPointSize(pointSize(GRID_STD));
    concGd->setFont(standards);
    for (QLabel *label : {regressResultLa, qaResultsLa, lblInvestigateWashCriteria}) {
        QFont font = label->font();
        font.setPointSize(pointSize(CONTROL_LABEL_ELISA));
        label->setFont(font);
    }
    StandardsResultDiagram->UpdateNumberFormat();
    // Every text again from the session, in the new language.
    ShowResults();
}

void TStandardsResultsPage::ShowCurveType()
{
    mModel->Refresh();
    concGd->setVerticalScrollBarPolicy(mSession.CurveType() == CURVE_8POINT ? Qt::ScrollBarAlwaysOn
                                                                            : Qt::ScrollBarAlwaysOff);
    LayoutResultsPanel(); // the curve details' spacing and the results box follow the curve
}

void TStandardsResultsPage::ShowResults()
{
    const TRunCalculationResult *result = mSession.LastResult();
    mModel->Refresh();
    concGd->LayoutColumns();
    if (result)
        StandardsResultDiagram->SetCurve(result->CurvePoints, result->Slope, result->Intercept);
    else
        StandardsResultDiagram->ClearCurve();

    // The curve details: the numbers as the tool writes them.
    interceptEd->setText(result ? ResultTexts::CurveValue(result->Intercept) : QString());
    slopeEd->setText(result ? ResultTexts::CurveValue(result->Slope) : QString());
    corrCoefEd->setText(result ? ResultTexts::Correlation(result->Correlation) : QString());
    if (result)
        ShowPassFail(regressResultLa, result->CorrelationPass);
    else
        regressResultLa->clear();

    qaResultsLa->setText(result ? ResultTexts::Verdict(*result) : QString());
    if (result) {
        QFont font = qaResultsLa->font();
        font.setBold(!result->Valid);
        qaResultsLa->setFont(font);
        SetTextColor(qaResultsLa, QColor(result->Valid ? PassGreen : FailRed));
    }
    lblInvestigateWashCriteria->setText(result && result->PlateWashNote ? UiText(TextId::PlateWashingNote)
                                                                        : QString());
    ShowQcExplanations(result);
    LayoutResultsPanel();
}

void TStandardsResultsPage::ShowQcExplanations(const TRunCalculationResult *result)
{
    if (!result) {
        regressResultLa->setToolTip(QString());
        qaResultsLa->setToolTip(QString());
        return;
    }
    const TRunQc &qc = result->Qc;
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

void TStandardsResultsPage::ArrangeLayout()
{
    concGd->LayoutColumns();
    LayoutResultsPanel();
}

void TStandardsResultsPage::LayoutResultsPanel()
{
    const TRunCalculationResult *result = mSession.LastResult();
    const bool note = result && result->PlateWashNote;
    lblInvestigateWashCriteria->setVisible(note);
    const TResultsPanelGeometry geometry = ResultsPanelGeometry({
        .Width = pnlStandardsResults->width(),
        .Height = pnlStandardsResults->height(),
        .EightPoint = mSession.CurveType() == CURVE_8POINT,
        .DetailsMargins = curveDetailsGb->contentsMargins(),
        .EditHeight = interceptEd->sizeHint().height(),
        .ResultsMargins = calcResultsGb->contentsMargins(),
        .VerdictHeight = [this](int width) { return LabelHeight(qaResultsLa, width); },
        .NoteHeight = [this](int width) { return LabelHeight(lblInvestigateWashCriteria, width); },
        .NoteShown = note,
    });
    interceptEd->setGeometry(geometry.Intercept);
    slopeEd->setGeometry(geometry.Slope);
    corrCoefEd->setGeometry(geometry.Correlation);

    // Captions that do not fit their room even on two lines get a smaller size, all three alike.
    const QMargins details = curveDetailsGb->contentsMargins();
    const QList<std::pair<QLabel *, QWidget *>> captions{
        {interceptLa, interceptEd}, {slopeLa, slopeEd}, {corrCoeffLa, corrCoefEd}};
    const auto leftOf = [&](const QWidget *editOfCaption) {
        return editOfCaption == slopeEd ? interceptEd->geometry().right() + 1 + kCaptionGap : details.left();
    };
    const auto setPointSize = [&captions](int pointSize) {
        for (const auto &caption : captions) {
            QFont font = caption.first->font();
            font.setPointSize(pointSize);
            caption.first->setFont(font);
        }
    };
    const int edit = geometry.Intercept.height();
    setPointSize(FittingPointSize(
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT),
        kSmallestCaptionPointSize, [&](int pointSize) {
            setPointSize(pointSize);
            for (const auto &[caption, captionEdit] : captions) {
                const int room = captionEdit->x() - kCaptionGap - leftOf(captionEdit);
                if (LongestWordWidth(caption) > room || LabelHeight(caption, room) > edit + 2 * geometry.Gap)
                    return false;
            }
            return true;
        }));
    for (const auto &[caption, captionEdit] : captions)
        PlaceCaption(caption, captionEdit, leftOf(captionEdit));
    const int client = std::max(0, pnlStandardsResults->width() - details.left() - details.right());
    regressResultLa->setGeometry(slopeEd->x(), corrCoeffLa->y(),
                                 std::max(1, client + details.left() - slopeEd->x()), corrCoeffLa->height());

    qaResultsLa->setGeometry(geometry.Verdict);
    lblInvestigateWashCriteria->setGeometry(geometry.Note);
    concGd->setGeometry(geometry.Grid);
    curveDetailsGb->setGeometry(geometry.Details);
    calcResultsGb->setGeometry(geometry.Results);
}
