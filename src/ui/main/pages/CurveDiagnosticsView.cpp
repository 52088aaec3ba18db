#include "CurveDiagnosticsView.h"

#include "core/FontManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/WindowTools.h"
#include "run/CurveDiagnostics.h"
#include "run/ResultTexts.h"
#include "run/RunCalculation.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/UiColors.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A figure a flat curve leaves without a finite value shows as a dash.
QString Number(double value, int decimals)
{
    return std::isfinite(value) ? FormatFixed(value, decimals) : u"\u2013"_s;
}

QString Concentration(double value)
{
    return std::isfinite(value) ? ResultTexts::Concentration(value) : u"\u2013"_s;
}

QStandardItem *Cell(const QString &text, bool number)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QTableView *NewTable(QWidget *parent, const QString &name, QStandardItemModel *model)
{
    auto *table = Named(new QTableView(parent), name);
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

TCurveDiagnosticsView::TCurveDiagnosticsView(const TRunSession &session, TRunSessionNotifier &notifier,
                                             QWidget *parent)
    : QWidget(parent), mSession(session), mStandards(new QStandardItemModel(this)),
      mSubjects(new QStandardItemModel(this))
{
    setObjectName(u"curveDiagnosticsSheet"_s);
    auto *column = new QVBoxLayout(this);
    curveDiagnosticsMessageLa = Named(new QLabel(this), u"curveDiagnosticsMessageLa"_s);
    curveDiagnosticsFitErrorLa = Named(new QLabel(this), u"curveDiagnosticsFitErrorLa"_s);
    curveDiagnosticsOrderLa = Named(new QLabel(this), u"curveDiagnosticsOrderLa"_s);
    for (QLabel *label : {curveDiagnosticsMessageLa, curveDiagnosticsFitErrorLa, curveDiagnosticsOrderLa}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        column->addWidget(label);
    }
    // The standards are few; the subjects may be many and get the wider share.
    auto *tables = new QHBoxLayout;
    curveDiagnosticsStandardsGd = NewTable(this, u"curveDiagnosticsStandardsGd"_s, mStandards);
    curveDiagnosticsSubjectsGd = NewTable(this, u"curveDiagnosticsSubjectsGd"_s, mSubjects);
    tables->addWidget(curveDiagnosticsStandardsGd, 3);
    tables->addWidget(curveDiagnosticsSubjectsGd, 2);
    column->addLayout(tables, 1);

    connect(&notifier, &TRunSessionNotifier::calculated, this, &TCurveDiagnosticsView::ShowDiagnostics);
    connect(&notifier, &TRunSessionNotifier::resultsDiscarded, this, &TCurveDiagnosticsView::ShowDiagnostics);
    Retranslate();
}

void TCurveDiagnosticsView::Retranslate()
{
    const int pointSize =
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT);
    for (QWidget *widget : std::initializer_list<QWidget *>{
             curveDiagnosticsMessageLa, curveDiagnosticsFitErrorLa, curveDiagnosticsOrderLa,
             curveDiagnosticsStandardsGd, curveDiagnosticsSubjectsGd}) {
        QFont font = widget->font();
        font.setPointSize(pointSize);
        widget->setFont(font);
    }
    mStandards->setHorizontalHeaderLabels({UiText(TextId::DiagStandard), UiText(TextId::DiagNominal),
                                           UiText(TextId::DiagBackCalculated), UiText(TextId::DiagRecovery),
                                           UiText(TextId::DiagResidual)});
    mSubjects->setHorizontalHeaderLabels(
        {UiText(TextId::SubjectId), UiText(TextId::DiagInterval95), UiText(TextId::DiagRange)});
    ShowDiagnostics();
}

void TCurveDiagnosticsView::ShowDiagnostics()
{
    mStandards->removeRows(0, mStandards->rowCount());
    mSubjects->removeRows(0, mSubjects->rowCount());
    const TRunCalculationResult *result = mSession.LastResult();
    curveDiagnosticsMessageLa->setVisible(!result);
    curveDiagnosticsFitErrorLa->setVisible(result);
    curveDiagnosticsOrderLa->setVisible(result);
    if (!result) {
        curveDiagnosticsMessageLa->setText(UiText(TextId::NoCalculatedRun));
        curveDiagnosticsFitErrorLa->clear();
        curveDiagnosticsOrderLa->clear();
        return;
    }
    const TCurveDiagnostics diagnostics = DiagnoseCurve(*result);
    for (const TStandardDiagnostics &standard : diagnostics.Standards)
        mStandards->appendRow({Cell(standard.Name, false), Cell(Concentration(standard.Nominal), true),
                               Cell(Concentration(standard.BackCalculated), true),
                               Cell(Number(standard.RecoveryPercent, RecoveryDecimals), true),
                               Cell(Number(standard.Residual, ResidualDecimals), true)});
    for (std::size_t k = 0; k < diagnostics.Subjects.size() && k < result->Subjects.size(); ++k) {
        const TSubjectDiagnostics &subject = diagnostics.Subjects[k];
        const QString interval = subject.Interval95 ? Concentration(subject.Interval95->Low) + u" \u2013 "_s +
                                                          Concentration(subject.Interval95->High)
                                                    : u"\u2013"_s;
        const int range = subject.BelowLowestStandard    ? TextId::BelowLowestStandard
                          : subject.AboveHighestStandard ? TextId::AboveHighestStandard
                                                         : TextId::WithinStandards;
        mSubjects->appendRow(
            {Cell(result->Subjects[k].Id, false), Cell(interval, true), Cell(UiText(range), false)});
    }
    curveDiagnosticsFitErrorLa->setText(UiText(TextId::FitStandardError)
                                            .arg(diagnostics.FitStandardError
                                                     ? Number(*diagnostics.FitStandardError, ResidualDecimals)
                                                     : u"\u2013"_s));
    const bool inOrder = diagnostics.StandardsInOrder();
    curveDiagnosticsOrderLa->setText(
        inOrder ? UiText(TextId::StandardsInOrder)
                : UiText(TextId::StandardsOutOfOrder).arg(diagnostics.OutOfOrder.join(u", "_s)));
    QPalette palette = curveDiagnosticsOrderLa->palette();
    palette.setColor(QPalette::WindowText,
                     inOrder ? this->palette().color(QPalette::WindowText) : QColor(FailRed));
    curveDiagnosticsOrderLa->setPalette(palette);
    for (QTableView *table : {curveDiagnosticsStandardsGd, curveDiagnosticsSubjectsGd})
        table->resizeColumnsToContents();
}
