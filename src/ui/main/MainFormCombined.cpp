// Navigation between the tabs and its gates, the header texts, the window's geometry
// rules and the language switch.

#include "MainFormCombinedRd.h"

#include "PageControl.h"
#include "PanelGeometry.h"
#include "RunDatePicker.h"
#include "RunSessionNotifier.h"
#include "core/DataObjectText.h"
#include "core/FileDialogs.h"
#include "core/FontManager.h"
#include "core/MarnovelConfigManager.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "platform/DialogPresenter.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/MarnovelData.h"
#include "ui/main/dialogs/about.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/pages/RawDataPage.h"
#include "ui/main/pages/RunDetailsPage.h"
#include "ui/main/pages/StandardsResultsPage.h"
#include "ui/main/pages/SubjectResultsPage.h"
#include "ui/print/PrintScreen.h"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Room a push button leaves around its caption, and the smallest size a caption shrinks to.
constexpr int kButtonTextPadding = 12;
constexpr int kSmallestPointSize = 7;

} // namespace

// ---- tabs and navigation ------------------------------------------------------------------

int TfrmMainCombinedRd::ActivePage() const
{
    return PageControl1->currentIndex();
}

int TfrmMainCombinedRd::WorkflowPage() const
{
    return ActivePage() == TrendsPage ? mWorkflowPage : ActivePage();
}

void TfrmMainCombinedRd::SetActivePage(int index)
{
    if (index < 0 || index >= PageControl1->count())
        return;
    const bool toRawData = index == RawDataPage && index != ActivePage();
    {
        // Chosen from code: neither the changing nor the changed handler runs.
        const QSignalBlocker blocker(PageControl1);
        PageControl1->setCurrentIndex(index);
    }
    UpdateNavigation();
    ArrangeLayout(); // a page shown for the first time has its size only now
    if (toRawData)
        mRawDataPage->UpdateCalculateButton();
}

void TfrmMainCombinedRd::UpdateNavigation()
{
    const int page = ActivePage();
    if (page != TrendsPage)
        mWorkflowPage = page;
    QWidget *sheet = PageControl1->widget(page);
    if (sheet->layout()->indexOf(pnlNavigation) < 0) {
        if (QLayout *previous = pnlNavigation->parentWidget()->layout())
            previous->removeWidget(pnlNavigation);
        // Last in the sheet's column: below the grid and its button row or footnote.
        sheet->layout()->addWidget(pnlNavigation);
        pnlNavigation->show();
    }
    // The arrows walk the workflow; the trends tab is not part of it.
    btnPageLeft->setVisible(page >= RawDataPage && page != TrendsPage);
    btnPageRight->setVisible(page <= ResultsPage);
    btnPageRight->setEnabled(ValidateRunDetails(false));
}

void TfrmMainCombinedRd::btnPageLeftClick()
{
    SetActivePage(ActivePage() - 1);
}

void TfrmMainCombinedRd::btnPageRightClick()
{
    SetActivePage(ActivePage() + 1);
    if (ActivePage() == RawDataPage) {
        if (!SetFocusIfEnabled(mRawDataPage->PasteButton()))
            SetFocusIfEnabled(mRawDataPage->ManualFormatButton());
    } else if (ActivePage() == SamplesPage) {
        if (!SetFocusIfEnabled(printPb))
            SetFocusIfEnabled(btnPageLeft);
    }
}

bool TfrmMainCombinedRd::PageControl1Changing(int toIndex)
{
    // The trends tab is open at any time, and so is the way back to where it was opened from;
    // to any other tab, the gate of that workflow tab applies.
    if (toIndex == TrendsPage || (ActivePage() == TrendsPage && toIndex == mWorkflowPage))
        return true;
    // A concentration being typed is checked now, while its page is still shown: refused
    // (text 372), the tab stays, strip and page alike.
    if (WorkflowPage() == RunDetailsPage && !mRunDetailsPage->CheckConcentrationBeingTyped())
        return false;
    if (!ValidateRunDetails(true))
        return false;
    mRawDataPage->UpdateCalculateButton();
    return true;
}

void TfrmMainCombinedRd::PageControl1Change()
{
    UpdateNavigation();
    ArrangeLayout(); // a page shown for the first time has its size only now
    mRunDetailsPage->DisableStdConcSelection();
    if (ActivePage() == RawDataPage)
        mRawDataPage->UpdateCalculateButton();
    update();
}

void TfrmMainCombinedRd::RunDetailsTextChange()
{
    UpdateNavigation();
}

// ---- geometry ---------------------------------------------------------------------------------

void TfrmMainCombinedRd::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    RunGuarded([this] { ArrangeLayout(); });
}

void TfrmMainCombinedRd::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (event->spontaneous() || mPositioned)
        return;
    mPositioned = true;
    RunGuarded([this] {
        RestoreWindowPosition();
        ArrangeLayout();
        SetFocusIfEnabled(GetKitBatchNoEd());
    });
}

void TfrmMainCombinedRd::ArrangeLayout()
{
    // The layouts place the bars and pages first (now, not when their own resize events
    // come); the rules below work on the sizes they give.
    if (QLayout *top = layout()) {
        top->invalidate();
        top->activate();
    }
    for (int page = 0; page < PageControl1->count(); ++page) {
        if (QLayout *sheet = PageControl1->widget(page)->layout()) {
            sheet->invalidate();
            sheet->activate();
        }
    }
    // Five tabs' room: the four workflow tabs and the trends tab fill the strip.
    PageControl1->PageTabBar()->SetTabWidth(PageControl1->width() / 5);
    LayoutCommandBar();
    LayoutNavigationBar();
    // Room above the navigation bar, wherever the bar is at the moment.
    mRunDetailsPage->ArrangeLayout(BarHeight);
    mStandardsPage->ArrangeLayout();
    mSubjectsPage->LayoutColumns();
}

void TfrmMainCombinedRd::LayoutCommandBar()
{
    const QList<QWidget *> buttons{closepb,       newTestPb, loadPb,          saveAsPb,        btnLoadFormat,
                                   btnSaveFormat, printPb,   resultsExportPb, rawDataExportPb, aboutPb};
    for (QWidget *button : buttons)
        button->move(button->x(), closepb->y());
    LayoutButtonRow(buttons, 0, pnlTopLine1->width(), 0, true, CommandButtonGap);
    SetButtonHeights(buttons, closepb->height());

    // A long caption in a narrow window: all ten get a smaller size rather than one clipped.
    const int pointSize =
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT);
    const auto fits = [&buttons](const QFont &font) {
        const QFontMetrics metrics(font);
        for (QWidget *button : buttons) {
            const QStringList lines = static_cast<QPushButton *>(button)->text().remove(u'&').split(u'\n');
            if (MaxTextWidth(metrics, lines) + kButtonTextPadding > button->width())
                return false;
        }
        return true;
    };
    QFont font = closepb->font();
    font.setPointSize(FittingPointSize(pointSize, kSmallestPointSize, [&](int size) {
        font.setPointSize(size);
        return fits(font);
    }));
    for (QWidget *button : buttons)
        button->setFont(font);
}

void TfrmMainCombinedRd::LayoutNavigationBar()
{
    const int top = (BarHeight - btnPageLeft->height()) / 2;
    btnPageLeft->move(ArrowEdgeGap, top);
    btnPageRight->move(pnlNavigation->width() - ArrowEdgeGap - btnPageRight->width(), top);
}

// ---- language ---------------------------------------------------------------------------------

void TfrmMainCombinedRd::ChangeLanguage(const QString &resourceName)
{
    GetConfigManager().SetDefaultLocale(resourceName);
    GetTranslationManager().LoadResource(resourceName);
    LoadToolkitTranslation(resourceName);
    InitializeText();
    ArrangeLayout();
    if (mAboutBox)
        mAboutBox->InitializeText();
    if (mPrintWindow)
        mPrintWindow->InitializeText();
}

namespace {

// The catalogue a Ctrl key switches to; empty for any other key.
QString LanguageOfKey(int key)
{
    switch (key) {
    case Qt::Key_I:
        return u"LOCALE_ITALIAN"_s;
    case Qt::Key_G:
        return u"LOCALE_GERMAN"_s;
    case Qt::Key_F:
        return u"LOCALE_FRENCH"_s;
    case Qt::Key_S:
        return u"LOCALE_SPANISH"_s;
    case Qt::Key_E:
        return u"LOCALE_ENGLISH"_s;
    case Qt::Key_9:
        return u"LOCALE_GREEK"_s;
    default:
        return QString();
    }
}

} // namespace

void TfrmMainCombinedRd::CreateLanguageShortcuts()
{
    // Not shortcuts: a line edit takes Ctrl+E (end of line) before any shortcut sees it. The
    // keys are read before the control with the focus gets them.
    qApp->installEventFilter(this);
}

bool TfrmMainCombinedRd::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *widget = qobject_cast<const QWidget *>(watched);
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (widget == nullptr || widget->window() != this ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return QWidget::eventFilter(watched, event);
    const QString resource = LanguageOfKey(key->key());
    if (resource.isEmpty())
        return QWidget::eventFilter(watched, event);
    if (!key->isAutoRepeat())
        RunGuarded([&] { ChangeLanguage(resource); });
    return true;
}

// ---- format files ---------------------------------------------------------------------------

void TfrmMainCombinedRd::btnSaveFormatClick()
{
    const QString proposed = QFileInfo(TCombinedFileHandler::DefaultFormatFileName(GetOperatorEd()->text(),
                                                                                   GetRunDateDt()->date()))
                                 .fileName();
    QString fileName;
    if (!SaveFormatFileDialog(proposed, fileName))
        return;
    if (const TRunStepResult step = mSession->SaveFormat(fileName); !step.Ok())
        ShowErrorMessage(step.TextNamingFile());
}

void TfrmMainCombinedRd::btnLoadFormatClick()
{
    if (!ValidateRunDetails(true))
        return;
    // A format replaces the layout of unsaved results: asked first, as Load asks.
    if (!ConfirmDiscardUnsaved())
        return;
    QString fileName;
    if (!OpenFormatFileDialog(fileName)) {
        mRawDataPage->Grid()->viewport()->update();
        return;
    }
    ClearResults(true, false);
    // The blocks read their wells from the plate as the grid shows it.
    mRawDataPage->TakeTypedPlate();
    // Refused for too many strips before anything changed: the plate stays, without a layout.
    if (const TRunStepResult step = mNotifier->LoadFormat(fileName);
        !step.Ok() && step.TextId != TextId::MoreStripsThanData) {
        ClearResults(true, false);
        SetActivePage(RunDetailsPage);
        return;
    }
    if (ActivePage() == RawDataPage)
        mRawDataPage->UpdateCalculateButton();
    else
        SetActivePage(RawDataPage);
    mRawDataPage->Grid()->viewport()->update();
}

// ---- drops ------------------------------------------------------------------------------------

void TfrmMainCombinedRd::dragEnterEvent(QDragEnterEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrmMainCombinedRd::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrmMainCombinedRd::dropEvent(QDropEvent *event)
{
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // The data is taken now; it is read after the drop has ended, so that a message about it
    // never holds up the program the data came from.
    std::shared_ptr<QMimeData> data = PlainTextDataObject(event->mimeData());
    QMetaObject::invokeMethod(
        this, [this, data] { RunGuarded([&] { mRawDataPage->DropDataObject(data.get()); }); },
        Qt::QueuedConnection);
}
