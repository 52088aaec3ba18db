#include "SubjectResultsPage.h"

#include "core/FontManager.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/WindowTools.h"
#include "run/ResultTexts.h"
#include "ui/main/RunSessionNotifier.h"
#include "ui/main/grids/ResultsViews.h"

#include <QLabel>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

TSubjectResultsPage::TSubjectResultsPage(TRunSession &session, TRunSessionNotifier &notifier, QWidget *parent)
    : QWidget(parent), mSession(session)
{
    setObjectName(u"samplesSheet"_s);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    resultGd = Named(new TResultGrid(this), u"resultGd"_s);
    mModel = new TSubjectResultsModel(session, resultGd);
    resultGd->setModel(mModel);
    layout->addWidget(resultGd, 1);
    Panel2 = Named(new QWidget(this), u"Panel2"_s);
    auto *footnote = new QVBoxLayout(Panel2);
    lblResultGridFootnote = Named(new QLabel(Panel2), u"lblResultGridFootnote"_s);
    lblResultGridFootnote->setWordWrap(true);
    lblResultGridFootnote->setTextFormat(Qt::PlainText);
    footnote->addWidget(lblResultGridFootnote);
    Panel2->hide();
    layout->addWidget(Panel2);

    Retranslate();
    // The result headings take two lines.
    resultGd->setRowHeight(0, static_cast<int>(std::nearbyint(1.5 * resultGd->rowHeight(1))));

    connect(&notifier, &TRunSessionNotifier::calculated, this, &TSubjectResultsPage::ShowResults);
    connect(&notifier, &TRunSessionNotifier::resultsDiscarded, this, &TSubjectResultsPage::ShowResults);
}

int TSubjectResultsPage::MinLastColWidth() const
{
    return resultGd->MinLastColWidth();
}

void TSubjectResultsPage::Retranslate()
{
    // The grid has no caption of its own: a screen reader names it after its page.
    resultGd->setAccessibleName(UiText(20));
    const int charset = GetTranslationManager().DetermineCharset();
    resultGd->SetFontSizes(GetFontManager().DetermineFontSize(charset, GRID_RESULT_DATA),
                           GetFontManager().DetermineFontSize(charset, GRID_RESULT_HEADING));
    ShowResults();
}

void TSubjectResultsPage::LayoutColumns()
{
    resultGd->LayoutColumns();
}

void TSubjectResultsPage::ShowResults()
{
    const TRunCalculationResult *result = mSession.LastResult();
    mModel->Refresh();
    LayoutColumns();
    const QStringList footnote = result ? ResultTexts::FootnoteLines(*result) : QStringList();
    lblResultGridFootnote->setText(footnote.isEmpty() ? QString() : footnote.join(u'\n') + u' ');
    Panel2->setVisible(!footnote.isEmpty());
    resultGd->clearSelection();
}
