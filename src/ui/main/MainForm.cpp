// The frame of the main window: construction, the grids, the run detail edits, the
// results boxes, the file and result commands, and the results clear.

#include "MainFormCombinedRd.h"

#include "CurveChart.h"
#include "PageControl.h"
#include "RunDatePicker.h"
#include "RunSessionNotifier.h"
#include "SavedRunRecorder.h"
#include "archive/Archive.h"
#include "core/Exceptions.h"
#include "core/FileDialogs.h"
#include "core/FontManager.h"
#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/Messages.h"
#include "core/SoftwareInfoManager.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "platform/ControlsToFile.h"
#include "platform/ExceptionBoundary.h"
#include "platform/WindowTools.h"
#include "run/MarnovelRdData.h"
#include "run/RunCalculation.h"
#include "ui/main/dialogs/about.h"
#include "ui/main/grids/RawDataGrid.h"
#include "ui/main/grids/ResultsViews.h"
#include "ui/main/grids/StdConcGrid.h"
#include "ui/main/pages/CurveDiagnosticsView.h"
#include "ui/main/pages/QcTrendsPage.h"
#include "ui/main/pages/RawDataPage.h"
#include "ui/main/pages/RunDetailsPage.h"
#include "ui/main/pages/StandardsResultsPage.h"
#include "ui/main/pages/SubjectResultsPage.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPolygonF>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCommandButtonHeight = 46;

QPushButton *NewButton(QWidget *parent, const QString &name)
{
    auto *button = Named(new QPushButton(parent), name);
    button->setAutoDefault(false);
    return button;
}

// A filled triangle in the bars' blue; the disabled look is the toolkit's.
QIcon ArrowIcon(bool right)
{
    QIcon icon;
    for (const qreal scale : {1.0, 2.0}) {
        QPixmap pixmap(QSize(24, 24) * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x50, 0x6E, 0xA6));
        const QPolygonF triangle = right ? QPolygonF{QPointF(6, 3), QPointF(20, 12), QPointF(6, 21)}
                                         : QPolygonF{QPointF(18, 3), QPointF(4, 12), QPointF(18, 21)};
        painter.drawPolygon(triangle);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

TfrmMainCombinedRd::TfrmMainCombinedRd(QWidget *parent)
    : QWidget(parent), mSession(std::make_unique<TRunSession>()), mData(&mSession->Data()),
      mNotifier(new TRunSessionNotifier(*mSession, this)), mArchiveRecorder(new TSavedRunRecorder(this))
{
    setObjectName(u"frmMainCombinedRd"_s);
    setMinimumSize(900, 680);
    // Wide enough for the longest captions; never larger than the screen.
    QSize size(1180, 780);
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    resize(size.expandedTo(minimumSize()));

    // Research samples only, one layout.
    GetConfigManager().SetIsSingleCriteria(false);
    GetConfigManager().SetSingleCriteria(CT_RESEARCH_SAMPLE);
    // Every block shows its identifier in the grids.
    OWCellBlockBase::SetIdentifierCount(1);

    BuildCommandBar();
    BuildPages();
    ConnectHandlers();
    CreateLanguageShortcuts();

    SetWindowCaption();
    InitializeText();
    mRunDetailsPage->RunDateEdit()->setDate(QDate::currentDate());
    ClearResults(false, true);
    GetConfigManager().CreateDefaultFolders();

    UpdateNavigation();
    SetActivePage(RunDetailsPage);
    SetCurveType(CURVE_4POINT);
    mRunDetailsPage->ChooseValueType(TStdConcValueType::Default);
    ArrangeLayout();
    mRunDetailsPage->KitBatchNoEdit()->setFocus();
    WriteControlsToFile(u"Main"_s, this, nullptr, true, true);
}

TfrmMainCombinedRd::~TfrmMainCombinedRd()
{
    // The manual format toolbar of the raw data page shows the run data: the page goes while the
    // session still exists, without the change of tab its removal would announce.
    const QSignalBlocker quiet(PageControl1);
    delete mRawDataPage;
}

// ---- construction ---------------------------------------------------------------------

namespace {

// The three coloured stripes of a command or navigation bar, top to bottom, named prefix1..3.
void AddStripes(QWidget *bar, const QString &prefix, std::initializer_list<QWidget **> targets)
{
    auto *stripes = new QVBoxLayout(bar);
    stripes->setContentsMargins(0, 0, 0, 0);
    stripes->setSpacing(0);
    const QColor colors[3] = {QColor(0xAF, 0xC8, 0xEF), QColor(Qt::white), QColor(0x50, 0x6E, 0xA6)};
    int i = 0;
    for (QWidget **target : targets) {
        QWidget *stripe = Named(new QWidget(bar), prefix + QString::number(i + 1));
        stripe->setFixedHeight(TfrmMainCombinedRd::StripeHeights[i]);
        stripe->setAutoFillBackground(true);
        QPalette palette = stripe->palette();
        palette.setColor(QPalette::Window, colors[i]);
        stripe->setPalette(palette);
        stripes->addWidget(stripe);
        *target = stripe;
        ++i;
    }
}

} // namespace

void TfrmMainCombinedRd::BuildCommandBar()
{
    Panel1 = Named(new QWidget(this), u"Panel1"_s);
    Panel1->setFixedHeight(BarHeight);
    AddStripes(Panel1, u"pnlTopLine"_s, {&pnlTopLine1, &pnlTopLine2, &pnlTopLine3});
    // The buttons lie over the stripes.
    closepb = NewButton(Panel1, u"closepb"_s);
    newTestPb = NewButton(Panel1, u"newTestPb"_s);
    loadPb = NewButton(Panel1, u"loadPb"_s);
    saveAsPb = NewButton(Panel1, u"saveAsPb"_s);
    btnLoadFormat = NewButton(Panel1, u"btnLoadFormat"_s);
    btnSaveFormat = NewButton(Panel1, u"btnSaveFormat"_s);
    printPb = NewButton(Panel1, u"printPb"_s);
    resultsExportPb = NewButton(Panel1, u"resultsExportPb"_s);
    rawDataExportPb = NewButton(Panel1, u"rawDataExportPb"_s);
    aboutPb = NewButton(Panel1, u"aboutPb"_s);
    closepb->setGeometry(CommandButtonGap, (BarHeight - kCommandButtonHeight) / 2, 90, kCommandButtonHeight);
}

void TfrmMainCombinedRd::BuildPages()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);

    PageControl1 = Named(new TPageControl(this), u"PageControl1"_s);
    layout->addWidget(PageControl1, 1);
    mRunDetailsPage = new TRunDetailsPage(*mSession, *mNotifier);
    mRunDetailsPage->SetDiscardQuery([this] { return ConfirmDiscardUnsaved(); });
    runDetailsSheet = mRunDetailsPage;
    mStandardsPage = new TStandardsResultsPage(*mSession, *mNotifier);
    mSubjectsPage = new TSubjectResultsPage(*mSession, *mNotifier);
    // Built with this window as its parent, so that its tool windows belong to this window; the
    // tab takes it over below.
    mRawDataPage = new TRawDataPage(*mSession, *mNotifier, this);
    mRawDataPage->SetDiscardQuery([this] { return ConfirmDiscardUnsaved(); });
    rawDataSheet = mRawDataPage;
    resultsSheet = mStandardsPage;
    samplesSheet = mSubjectsPage;
    for (QWidget *sheet : {runDetailsSheet, rawDataSheet, resultsSheet, samplesSheet})
        PageControl1->addTab(sheet, QString());
    mTrendsPage = new TQcTrendsPage;
    // The tab reads the archive Save File records into, and again after every recorded save.
    mTrendsPage->SetArchiveLocation(ConfiguredArchiveLocation());
    connect(mArchiveRecorder, &TSavedRunRecorder::archiveChanged, mTrendsPage,
            &TQcTrendsPage::ArchiveChanged);
    mTrendsPage->SetCurrentRunSource([this] {
        const TRunDetails shown = RunDetailsShown();
        return TQcTrendsPage::TRunKey{shown.RunDate, shown.KitBatchNumber, shown.RunNumber};
    });
    mDiagnosticsView = new TCurveDiagnosticsView(*mSession, *mNotifier);
    mTrendsPage->AddView(mDiagnosticsView, TextId::CurveDiagnostics);
    PageControl1->addTab(mTrendsPage, QString());

    // The navigation bar, moved onto the active page by UpdateNavigation.
    pnlNavigation = Named(new QWidget(runDetailsSheet), u"pnlNavigation"_s);
    pnlNavigation->setFixedHeight(BarHeight);
    AddStripes(pnlNavigation, u"pnlBottomLine"_s, {&pnlBottomLine1, &pnlBottomLine2, &pnlBottomLine3});
    btnPageLeft = Named(new QToolButton(pnlNavigation), u"btnPageLeft"_s);
    btnPageRight = Named(new QToolButton(pnlNavigation), u"btnPageRight"_s);
    btnPageLeft->setIcon(ArrowIcon(false));
    btnPageRight->setIcon(ArrowIcon(true));
    for (QToolButton *arrow : {btnPageLeft, btnPageRight}) {
        arrow->setFixedSize(48, 40);
        arrow->setIconSize(QSize(24, 24));
    }
}

void TfrmMainCombinedRd::ConnectHandlers()
{
    connect(closepb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::closepbClick));
    connect(newTestPb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::newTestPbClick));
    connect(loadPb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::loadPbClick));
    connect(saveAsPb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::saveAsPbClick));
    connect(btnLoadFormat, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::btnLoadFormatClick));
    connect(btnSaveFormat, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::btnSaveFormatClick));
    connect(aboutPb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::aboutPbClick));
    connect(printPb, &QPushButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::printPbClick));
    connect(mRawDataPage->CalculateButton(), &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::calcCurvePbClick));
    connect(resultsExportPb, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::resultsExportPbClick));
    connect(rawDataExportPb, &QPushButton::clicked, this,
            Guarded(this, &TfrmMainCombinedRd::rawDataExportPbClick));

    connect(btnPageLeft, &QToolButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::btnPageLeftClick));
    connect(btnPageRight, &QToolButton::clicked, this, Guarded(this, &TfrmMainCombinedRd::btnPageRightClick));
    PageControl1->PageTabBar()->ChangeGuard = [this](int toIndex) {
        bool allowed = false;
        RunGuarded([&] { allowed = PageControl1Changing(toIndex); });
        return allowed;
    };
    connect(PageControl1, &QTabWidget::currentChanged, this,
            Guarded(this, &TfrmMainCombinedRd::PageControl1Change));
    connect(mRunDetailsPage, &TRunDetailsPage::detailsEdited, this,
            Guarded(this, &TfrmMainCombinedRd::RunDetailsTextChange));
    setAcceptDrops(true);
    ConnectSessionViews();
    // Every refused step reaches the operator here, once.
    connect(mNotifier, &TRunSessionNotifier::refused, this,
            [](const QString &text) { ShowErrorMessage(text); });
}

void TfrmMainCombinedRd::ConnectSessionViews()
{
    // The results pages repaint themselves; the commands that need results follow them.
    connect(mNotifier, &TRunSessionNotifier::calculated, this, [this] { SetResultCommandsEnabled(true); });
    connect(mNotifier, &TRunSessionNotifier::resultsDiscarded, this,
            [this] { SetResultCommandsEnabled(false); });
}

// ---- texts ----------------------------------------------------------------------------

void TfrmMainCombinedRd::SetWindowCaption()
{
    QString prefix = UiText(TextId::CaptionPrefix);
    if (!prefix.isEmpty())
        prefix += u' ';
    QString caption = prefix + ProductNameText() + u" ("_s + UiText(TextId::Version) + u' ' +
                      GetSoftwareInfoManager().GetVersNumberStr() + u')';
    caption.replace(u"\\n"_s, u" "_s);
    caption.replace(u"\r\n"_s, u" "_s);
    caption.replace(u'\n', u' ');
    setWindowTitle(caption);
}

void TfrmMainCombinedRd::InitializeText()
{
    const struct
    {
        QWidget *control;
        int id;
    } texts[] = {
        {closepb, 9},       {newTestPb, 10},       {loadPb, 153},
        {saveAsPb, 145},    {btnLoadFormat, 154},  {btnSaveFormat, 155},
        {printPb, 13},      {resultsExportPb, 14}, {rawDataExportPb, 15},
        {aboutPb, 16},      {runDetailsSheet, 17}, {rawDataSheet, 18},
        {resultsSheet, 19}, {samplesSheet, 20},    {mTrendsPage, TextId::QcTrends},
    };
    for (const auto &text : texts)
        SetControlText(text.control, text.id, true);
    // Controls without a text of their own, named for a screen reader.
    PageControl1->setAccessibleName(UiText(TextId::PageTabs));
    btnPageLeft->setAccessibleName(UiText(TextId::PreviousPage));
    btnPageRight->setAccessibleName(UiText(TextId::NextPage));
    // The tab captions follow the font the sheets put on the tab control.
    PageControl1->PageTabBar()->setFont(PageControl1->font());

    SetWindowCaption();
    // Every text of the pages again from the session, in the new language.
    mRunDetailsPage->Retranslate();
    mRawDataPage->Retranslate();
    mStandardsPage->Retranslate();
    mSubjectsPage->Retranslate();
    mTrendsPage->Retranslate();
    mDiagnosticsView->Retranslate();
}

// ---- run details ----------------------------------------------------------------------

QLineEdit *TfrmMainCombinedRd::GetOperatorEd() const
{
    return mRunDetailsPage->OperatorEdit();
}

QLineEdit *TfrmMainCombinedRd::GetKitBatchNoEd() const
{
    return mRunDetailsPage->KitBatchNoEdit();
}

QLineEdit *TfrmMainCombinedRd::GetRunNoEd() const
{
    return mRunDetailsPage->RunNoEdit();
}

TRunDatePicker *TfrmMainCombinedRd::GetRunDateDt() const
{
    return mRunDetailsPage->RunDateEdit();
}

int TfrmMainCombinedRd::StdConcDivider() const
{
    return mRunDetailsPage->StdConcDivider();
}

QString TfrmMainCombinedRd::GetRunInfoText() const
{
    const QString lineBreak = u"\r\n"_s;
    return UiText(TextId::Version) + u": "_s + GetSoftwareInfoManager().GetVersNumberStr() + lineBreak +
           UiText(TextId::Operator) + u": "_s + GetOperatorEd()->text() + lineBreak +
           UiText(TextId::KitBatchNumber) + u": "_s + GetKitBatchNoEd()->text() + lineBreak;
}

QString TfrmMainCombinedRd::GetSaveFileNameDefault() const
{
    return TCombinedFileHandler::DefaultRunDataFileName(GetRunDateDt()->date(), GetRunNoEd()->text());
}

bool TfrmMainCombinedRd::ValidateRunDetails(bool withMessage)
{
    return WorkflowPage() != RunDetailsPage || mRunDetailsPage->Validate(withMessage);
}

void TfrmMainCombinedRd::SetCurveType(TCurveType curveType)
{
    if (!IsValidCurveType(curveType))
        throw MarnovelException(BuildExceptionMessage(
            u"TForm1.SetCurveType"_s, u"pCurveType="_s + QString::number(curveType), u"Invalid CurveType"_s));
    // The notifier's signals show the curve with its default concentrations, or its refusal.
    (void)mNotifier->SetCurveType(curveType);
}

void TfrmMainCombinedRd::SetResultCommandsEnabled(bool enabled)
{
    for (QPushButton *button : {saveAsPb, printPb, resultsExportPb, rawDataExportPb})
        button->setEnabled(enabled);
}

void TfrmMainCombinedRd::ClearResults(bool keepConcentrations, bool clearAll)
{
    mRawDataPage->PasteButton()->setEnabled(true);
    OWCellBlockBase::Reset();
    mNotifier->ClearLayout();
    mRawDataPage->LayoutCleared();
    if (clearAll) {
        OWCellBlockBase::SetSubjectIdPrefix(UiText(TextId::SubjectIdPrefix));
        mRawDataPage->Grid()->ResetRawDataGrid();
        mRunDetailsPage->ClearDetails(false);
    }
    if (keepConcentrations)
        mRunDetailsPage->FillStdConcGrid();
    else
        (void)mNotifier->SetCurveType(mSession->CurveType()); // its defaults, shown by the signals
    mNotifier->DiscardResults(); // the pages and the result commands follow its signal
    mRawDataPage->CalculateButton()->setEnabled(false);
    SetActivePage(clearAll ? RunDetailsPage : RawDataPage);
    mRunDetailsPage->EnableCurveTypeSelection();
}

// ---- commands ---------------------------------------------------------------------------

void TfrmMainCombinedRd::closepbClick()
{
    close();
}

bool TfrmMainCombinedRd::ConfirmDiscardUnsaved(bool closing)
{
    if (DataSaved())
        return true;
    const TModalResult answer =
        ShowMessageDialog(UiText(TextId::UnsavedData), TMsgDlgType::mtConfirmation,
                          TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel, 0);
    if (answer == TModalResult::mrYes) {
        const TSaveOutcome saved = SaveRunAs();
        return saved == TSaveOutcome::Saved || (saved == TSaveOutcome::Cancelled && !closing);
    }
    return answer != TModalResult::mrCancel;
}

void TfrmMainCombinedRd::newTestPbClick()
{
    if (!ConfirmDiscardUnsaved())
        return;
    // The typing of the old run ends with it; its Cancel would put the old plate back.
    mRawDataPage->EndManualDataEntry();
    mNotifier->NewRun();
    mRunDetailsPage->ChooseValueType(TStdConcValueType::Default);
    ClearResults(false, true);
    mRunDetailsPage->StdConcGrid()->viewport()->update();
}

void TfrmMainCombinedRd::aboutPbClick()
{
    if (mAboutBox)
        mAboutBox->exec();
}

// ---- window position ----------------------------------------------------------------------

void TfrmMainCombinedRd::RestoreWindowPosition()
{
    // A place on a screen that is gone (a monitor unplugged since), or a value no screen has,
    // would leave the window where nobody can see it: that one is centred as well.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens << screen->availableGeometry();
    const QScreen *home = screen();
    const QRect homeArea = home ? home->availableGeometry() : frameGeometry();
    move(RestoredWindowPosition(GetConfigManager().GetSavedFormLocation(objectName()), frameGeometry().size(),
                                screens, homeArea));
}

void TfrmMainCombinedRd::StoreWindowPosition()
{
    GetConfigManager().SetSavedFormLocation(objectName(), pos().x(), pos().y());
}

void TfrmMainCombinedRd::closeEvent(QCloseEvent *event)
{
    AnswerCloseQuery(event, [this] {
        if (!ConfirmDiscardUnsaved(/*closing=*/true))
            return false;
        StoreWindowPosition();
        return true;
    });
}

// ---- run data files ---------------------------------------------------------------------

TRunDetails TfrmMainCombinedRd::RunDetailsShown() const
{
    return mRunDetailsPage->DetailsShown();
}

void TfrmMainCombinedRd::saveAsPbClick()
{
    SaveRunAs();
}

TfrmMainCombinedRd::TSaveOutcome TfrmMainCombinedRd::SaveRunAs()
{
    QString fileName;
    if (!SaveRundataFileDialog(GetSaveFileNameDefault(), fileName))
        return TSaveOutcome::Cancelled;
    return SaveData(fileName) ? TSaveOutcome::Saved : TSaveOutcome::Failed;
}

bool TfrmMainCombinedRd::SaveData(const QString &fileName)
{
    mNotifier->SetDetails(RunDetailsShown());
    QByteArray written;
    const TRunStepResult step = mSession->SaveRun(fileName, &written);
    if (!step.Ok()) {
        ShowErrorMessage(step.TextNamingFile());
        return false;
    }
    if (!mSession->LastResult())
        return true;
    // The run file stays saved: the operator learns why it is not in the archive.
    if (const QString reason = mArchiveRecorder->Record(*mSession, written); !reason.isEmpty())
        ShowMessageDialog(UiText(TextId::RunNotArchived).arg(reason), TMsgDlgType::mtWarning,
                          TMsgDlgBtn::mbOK, 0);
    return true;
}

void TfrmMainCombinedRd::loadPbClick()
{
    if (!ConfirmDiscardUnsaved())
        return;
    QString fileName;
    if (OpenRundataFileDialog(fileName))
        LoadRunFile(fileName);
    else
        mRawDataPage->FitColumns();
    // A run from a file keeps its own concentrations; chosen even when nothing was loaded.
    mRunDetailsPage->ChooseValueType(TStdConcValueType::Manual);
}

void TfrmMainCombinedRd::OpenRunFile(const QString &fileName)
{
    LoadRunFile(fileName);
    mRunDetailsPage->ChooseValueType(TStdConcValueType::Manual);
}

void TfrmMainCombinedRd::LoadRunFile(const QString &fileName)
{
    if (fileName.endsWith(u".fmt"_s))
        LoadOldFileFormat(fileName);
    LoadData(fileName);
    SetFocusIfEnabled(mRawDataPage->CalculateButton());
    mRawDataPage->FitColumns();
}

void TfrmMainCombinedRd::LoadOldFileFormat(const QString &fileName)
{
    throw MarnovelException(BuildExceptionMessage(u"TfrmMainCombined.LoadOldFileFormat"_s,
                                                  u"pFileName="_s + fileName,
                                                  u"Cannot load old file formats"_s));
}

void TfrmMainCombinedRd::LoadData(const QString &fileName)
{
    ClearResults(true, true);
    if (!mNotifier->LoadRun(fileName).Ok()) {
        ClearResults(true, true);
        // An empty run: no plate text of an earlier run stays behind the emptied grid.
        (void)mNotifier->SetTypedPlate({});
        mRunDetailsPage->ClearDetails(true);
        SetActivePage(RunDetailsPage);
        return;
    }
    TRunDetails details = mSession->Details();
    if (!ContainsNoInvalidChar(details.RunNumber + details.KitBatchNumber + details.OperatorName)) {
        for (QString *text : {&details.RunNumber, &details.KitBatchNumber, &details.OperatorName})
            *text = RemoveInvalidChars(*text);
        mNotifier->SetDetails(details);
        ShowErrorMessage(InvalidCharMessage());
    }
    mRunDetailsPage->ShowDetailsFromFile(details);
    SetActivePage(RawDataPage);
}
