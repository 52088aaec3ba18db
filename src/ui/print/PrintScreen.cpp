#include "PrintScreen.h"

#include "reports/PrintJobCheck.h"
#include "reports/PrintManager.h"
#include "reports/Printing.h"
#include "reports/ReportPdf.h"
#include "reports/ReportSource.h"

#include "core/Exceptions.h"
#include "core/FileDialogs.h"
#include "core/FontManager.h"
#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/Messages.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/CellColl.h"
#include "plate/TextGrid.h"
#include "platform/ControlsToFile.h"
#include "platform/ExceptionBoundary.h"
#include "platform/ModalDialogs.h"
#include "platform/WindowTools.h"
#include "run/MarnovelRdData.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

TReportPrinterFactory &PrinterFactory()
{
    static TReportPrinterFactory factory;
    return factory;
}

std::unique_ptr<QPrinter> NewJobPrinter()
{
    return PrinterFactory() ? PrinterFactory()() : DefaultReportPrinter();
}

// Room around the controls of the top panel.
constexpr int PanelMargin = 8;
constexpr int ColumnGap = 12;
constexpr int RowGap = 2;

// round(x) with halves to the even integer, as every pixel measure of the reports.
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

std::unique_ptr<QPrinter> DefaultReportPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void SetReportPrinterFactory(TReportPrinterFactory factory)
{
    PrinterFactory() = std::move(factory);
}

QString NoDefaultPrinterText()
{
    return UiText(TextId::NoDefaultPrinter);
}

// ---- the preview -----------------------------------------------------------------------------

// The paint box of the preview: draws the whole report again on every paint.
class TPrintPreviewBox : public QWidget
{
public:
    TPrintPreviewBox(TScreenPrintFormCombinedTorvinTandem *window, QWidget *parent)
        : QWidget(parent), mWindow(window)
    {
        setObjectName(u"PaintBox1"_s);
        // Each paint fills the paper white; the report draws black on it.
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        {
            QPainter background(this);
            background.fillRect(rect(), Qt::white);
        }
        RunGuarded([&] { mWindow->DrawPreview(*this); });
    }

private:
    TScreenPrintFormCombinedTorvinTandem *mWindow;
};

namespace {

// The Print button reads "Printing" in red while a job runs; its caption, colour and size
// come back afterwards, whatever happened.
class TPrintingCaption
{
public:
    explicit TPrintingCaption(QPushButton *button)
        : mButton(button), mText(button->text()), mPalette(button->palette()), mFont(button->font())
    {
        QPalette palette = mPalette;
        palette.setColor(QPalette::ButtonText, Qt::red);
        mButton->setPalette(palette);
        QFont font = mFont;
        font.setPointSize(10);
        mButton->setFont(font);
        mButton->setText(UiText(TextId::Printing));
        mButton->repaint();
    }
    ~TPrintingCaption()
    {
        mButton->setText(mText);
        mButton->setPalette(mPalette);
        mButton->setFont(mFont);
    }
    TPrintingCaption(const TPrintingCaption &) = delete;
    TPrintingCaption &operator=(const TPrintingCaption &) = delete;

private:
    QPushButton *mButton;
    QString mText;
    QPalette mPalette;
    QFont mFont;
};

// The small window over the print window while the individual PDF files are written.
class TPdfProgressWindow : public QDialog
{
public:
    TPdfProgressWindow(QWidget *over, int count) : QDialog(over, Qt::Dialog | Qt::FramelessWindowHint)
    {
        setObjectName(u"frmPdfProgress"_s);
        auto *frame = new QFrame(this);
        frame->setFrameShape(QFrame::Box);
        lblFileCount = new QLabel(QString::number(count) + u' ' + UiText(TextId::PdfFilesToGenerate), frame);
        lblFileCount->setObjectName(u"lblFileCount"_s);
        lblFileNumber = new QLabel(frame);
        lblFileNumber->setObjectName(u"lblFileNumber"_s);
        // The window is disabled while the files are written; its count stays readable.
        QPalette readable = palette();
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
            readable.setColor(QPalette::Disabled, role, readable.color(QPalette::Active, role));
        for (QLabel *label : {lblFileCount, lblFileNumber}) {
            label->setAlignment(Qt::AlignCenter);
            label->setPalette(readable);
        }
        auto *inner = new QVBoxLayout(frame);
        inner->setContentsMargins(24, 16, 24, 16);
        inner->addWidget(lblFileCount);
        inner->addWidget(lblFileNumber);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(frame);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        SetFile(0);
        adjustSize();
        move(over->geometry().center() - rect().center());
    }
    void SetFile(int number)
    {
        lblFileNumber->setText(number > 0 ? QString::number(number) : QString());
        lblFileNumber->repaint();
    }

private:
    QLabel *lblFileCount;
    QLabel *lblFileNumber;
};

} // namespace

// ---- the window ------------------------------------------------------------------------------

TScreenPrintFormCombinedTorvinTandem::TScreenPrintFormCombinedTorvinTandem(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"ScreenPrintFormCombinedTorvinTandem"_s);
    BuildControls();
    InitializeText();
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() : QSize(860, 700);
    resize(std::min(860, room.width()), std::min(700, room.height()));
    WriteControlsToFile(u"Print"_s, this, nullptr, true, false);
}

TScreenPrintFormCombinedTorvinTandem::~TScreenPrintFormCombinedTorvinTandem() = default;

void TScreenPrintFormCombinedTorvinTandem::BuildControls()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(u"Panel1"_s);
    auto named = [](auto *widget, const QString &name) {
        widget->setObjectName(name);
        return widget;
    };
    lblPrintOptions = named(new QLabel(Panel1), u"lblPrintOptions"_s);
    lblReportType = named(new QLabel(Panel1), u"lblReportType"_s);
    cbPrintStdCurveAndPlateFormat = named(new QCheckBox(Panel1), u"cbPrintStdCurveAndPlateFormat"_s);
    assayRb = named(new QRadioButton(Panel1), u"assayRb"_s);
    allSubjRb = named(new QRadioButton(Panel1), u"allSubjRb"_s);
    singleSubjRb = named(new QRadioButton(Panel1), u"singleSubjRb"_s);
    singleSubjCbox = named(new QComboBox(Panel1), u"singleSubjCbox"_s);
    singleSubjCbox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    printPb = named(new QPushButton(Panel1), u"printPb"_s);
    btnSaveToFile = named(new QPushButton(Panel1), u"btnSaveToFile"_s);
    btnCloseWindow = named(new QPushButton(Panel1), u"btnCloseWindow"_s);
    for (QPushButton *button : {printPb, btnSaveToFile, btnCloseWindow})
        button->setAutoDefault(false);

    // The kit sample types of the diagnostic editions: never shown here.
    auto *lblSampleType = named(new QLabel(Panel1), u"lblSampleType"_s);
    lblSampleType->hide();
    for (const QString &name :
         {u"cbCorvexTwoSample"_s, u"cbCorvex3Sample"_s, u"cbTorvinSample"_s, u"cbPrintAllReports"_s}) {
        auto *box = named(new QCheckBox(Panel1), name);
        box->hide();
    }

    ScrollBox1 = named(new QScrollArea(this), u"ScrollBox1"_s);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    PaintBox1 = new TPrintPreviewBox(this, ScrollBox1);
    ScrollBox1->setWidget(PaintBox1);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->viewport()->installEventFilter(this);
    PaintBox1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(ScrollBox1, 1);

    assayRb->setChecked(true);
    singleSubjCbox->setEnabled(false);

    connect(printPb, &QPushButton::clicked, this,
            Guarded(this, &TScreenPrintFormCombinedTorvinTandem::printPbClick));
    connect(btnSaveToFile, &QPushButton::clicked, this,
            Guarded(this, &TScreenPrintFormCombinedTorvinTandem::btnSaveToFileClick));
    connect(btnCloseWindow, &QPushButton::clicked, this,
            Guarded(this, &TScreenPrintFormCombinedTorvinTandem::btnCloseWindowClick));
    for (QRadioButton *button : {assayRb, allSubjRb, singleSubjRb})
        OnChecked(button, this, &TScreenPrintFormCombinedTorvinTandem::allSubjRbClick);
    connect(singleSubjCbox, &QComboBox::activated, this,
            Guarded(this, &TScreenPrintFormCombinedTorvinTandem::singleSubjCboxChange));
    OnToggled(cbPrintStdCurveAndPlateFormat, this,
              &TScreenPrintFormCombinedTorvinTandem::cbPrintStdCurveAndPlateFormatClick);
}

void TScreenPrintFormCombinedTorvinTandem::InitializeText()
{
    setWindowTitle(UiText(TextId::Print));
    SetControlText(lblPrintOptions, 267, false);
    SetControlText(cbPrintStdCurveAndPlateFormat, 268, false);
    SetControlText(lblReportType, 190, false);
    SetControlText(assayRb, 99, false);
    SetControlText(allSubjRb, 100, false);
    SetControlText(singleSubjRb, 101, false);
    SetControlText(btnCloseWindow, 103, false);
    SetControlText(btnSaveToFile, 191, false);
    SetControlText(printPb, 102, false);
    SetControlText(findChild<QCheckBox *>(u"cbPrintAllReports"_s), 189, false);
    QFont listFont = singleSubjCbox->font();
    listFont.setPointSize(
        GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), CONTROL_DEFAULT));
    singleSubjCbox->setFont(listFont);
    ArrangeWindow();
}

// ---- opening and the preview -------------------------------------------------------------------

void TScreenPrintFormCombinedTorvinTandem::ShowPrintWindow(const IReportSource &source, int gapMm,
                                                           bool enable)
{
    PreparePreview(source, gapMm, enable);
    ExecModal(*this);
}

void TScreenPrintFormCombinedTorvinTandem::PreparePreview(const IReportSource &source, int gapMm, bool enable)
{
    mSource = &source;
    RefreshSubjectList();
    ScrollBox1->verticalScrollBar()->setValue(0);
    ScrollBox1->horizontalScrollBar()->setValue(0);
    SetCheckedQuietly(assayRb, true);
    singleSubjCbox->setEnabled(false);
    for (QRadioButton *button : {assayRb, allSubjRb, singleSubjRb})
        button->setEnabled(enable);
    paintForm(source, gapMm);
    PaintBox1->show();
}

void TScreenPrintFormCombinedTorvinTandem::ChooseReport(bool withCurvePage, TReportKind kind, int subject)
{
    if (withCurvePage != GetWithCurvePage()) {
        SetCheckedQuietly(cbPrintStdCurveAndPlateFormat, withCurvePage);
        cbPrintStdCurveAndPlateFormatClick();
    }
    QRadioButton *button = kind == TReportKind::Grouped      ? assayRb
                           : kind == TReportKind::Individual ? allSubjRb
                                                             : singleSubjRb;
    if (button->isChecked())
        return;
    SetCheckedQuietly(button, true);
    allSubjRbClick();
    if (kind == TReportKind::SingleSubject) {
        SetSingleSubjIndex(subject - 1);
        singleSubjCboxChange();
    }
}

void TScreenPrintFormCombinedTorvinTandem::RefreshSubjectList()
{
    singleSubjCbox->clear();
    if (!mSource)
        return;
    // The program always calculates: the subjects are the identifiers of the result grid.
    const ITextGrid &results = mSource->ResultGrid();
    for (int row = 1; row < results.RowCount(); ++row)
        singleSubjCbox->addItem(results.Cell(0, row));
    singleSubjCbox->setCurrentIndex(singleSubjCbox->count() > 0 ? 0 : -1);
}

void TScreenPrintFormCombinedTorvinTandem::paintForm(const IReportSource &source, int /*gapMm*/)
{
    mSource = &source;
    MeasurePreview(50);
    // "Print all Reports" is what lets the operator's print and save pass.
    if (auto *all = findChild<QCheckBox *>(u"cbPrintAllReports"_s))
        all->setChecked(true);
    PaintBox1->update();
}

void TScreenPrintFormCombinedTorvinTandem::MeasurePreview(int extra)
{
    int bottom = 0;
    if (mSource) {
        const int first = std::max(SingleSubjIndex(), 1);
        const bool grouped = Grouped();
        const int last = grouped ? mSource->ResultGrid().RowCount() - 1 : first;
        bottom = MeasureRunReport(*mSource, GetWithCurvePage(), grouped, grouped ? 1 : first, last,
                                  PaintBox1->logicalDpiX(), PaintBox1->logicalDpiY());
    }
    mPreviewHeight = bottom + extra;
    ArrangeWindow();
}

int TScreenPrintFormCombinedTorvinTandem::DrawPreview(QPaintDevice &surface) const
{
    if (!mSource)
        return 0;
    const int first = std::max(SingleSubjIndex(), 1);
    const bool grouped = Grouped();
    const int last = grouped ? mSource->ResultGrid().RowCount() - 1 : first;
    return DrawRunReport(surface, *mSource, GetWithCurvePage(), nullptr, grouped, grouped ? 1 : first, last);
}

void TScreenPrintFormCombinedTorvinTandem::RedrawAfterChoice()
{
    MeasurePreview(100);
    PaintBox1->update();
}

void TScreenPrintFormCombinedTorvinTandem::allSubjRbClick()
{
    singleSubjCbox->setEnabled(singleSubjRb->isChecked());
    RedrawAfterChoice();
}

void TScreenPrintFormCombinedTorvinTandem::singleSubjCboxChange()
{
    RedrawAfterChoice();
}

void TScreenPrintFormCombinedTorvinTandem::cbPrintStdCurveAndPlateFormatClick()
{
    // Without the curve page the A4 preview fits beside its scroll bar on any usual screen.
    ScrollBox1->setHorizontalScrollBarPolicy(GetWithCurvePage() ? Qt::ScrollBarAlwaysOn
                                                                : Qt::ScrollBarAsNeeded);
    if (mSource)
        paintForm(*mSource, DefaultGapMm);
}

bool TScreenPrintFormCombinedTorvinTandem::GetWithCurvePage() const
{
    return cbPrintStdCurveAndPlateFormat->isChecked();
}

bool TScreenPrintFormCombinedTorvinTandem::Grouped() const
{
    return assayRb->isChecked();
}

int TScreenPrintFormCombinedTorvinTandem::SingleSubjIndex() const
{
    return singleSubjCbox->currentIndex() + 1;
}

void TScreenPrintFormCombinedTorvinTandem::SetSingleSubjIndex(int value)
{
    singleSubjCbox->setCurrentIndex(value);
}

int TScreenPrintFormCombinedTorvinTandem::GetSubjectBound(bool first)
{
    const int rows = mSource ? mSource->ResultGrid().RowCount() : 0;
    if (Grouped())
        // A run without subjects reports its standards alone: no subject rows, no message.
        return first ? 1 : std::max(rows - 1, 0);
    const int value = SingleSubjIndex();
    if (value <= 0 || value >= rows) {
        SetSingleSubjIndex(0);
        ShowErrorMessage(
            u"The Subject Number must be a number between \r\none and the Number of Test Subjects."_s);
        return SingleSubjIndex();
    }
    return value;
}

int TScreenPrintFormCombinedTorvinTandem::PreviewWidth() const
{
    const int ppi = PaintBox1->logicalDpiX();
    if (GetWithCurvePage() && mSource) {
        const int margin = RoundEven(mSource->RunData().printMarginWidth() * ppi / 25.4);
        return margin + mSource->RawDataGridWidth() + 20;
    }
    return RoundEven(210 * ppi / 25.4) + 20;
}

int TScreenPrintFormCombinedTorvinTandem::PreviewHeight() const
{
    return std::max(mPreviewHeight, 1);
}

void TScreenPrintFormCombinedTorvinTandem::ArrangeWindow()
{
    // ---- the top panel: labels, one column of choices, the buttons at the right ----
    const int labelWidth = std::max(lblPrintOptions->sizeHint().width(), lblReportType->sizeHint().width());
    const int column = PanelMargin + labelWidth + ColumnGap;
    const QSize check = cbPrintStdCurveAndPlateFormat->sizeHint();
    cbPrintStdCurveAndPlateFormat->setGeometry(column, PanelMargin, check.width(), check.height());
    lblPrintOptions->setGeometry(PanelMargin, PanelMargin, labelWidth, check.height());
    int y = PanelMargin + check.height() + 3 * RowGap + PanelMargin;
    lblReportType->setGeometry(PanelMargin, y, labelWidth, assayRb->sizeHint().height());
    int right = column + check.width();
    for (QRadioButton *button : {assayRb, allSubjRb, singleSubjRb}) {
        const QSize size = button->sizeHint();
        button->setGeometry(column, y, size.width(), size.height());
        right = std::max(right, column + size.width());
        y += size.height() + RowGap;
    }
    const QSize list = singleSubjCbox->sizeHint();
    const int listWidth = std::max(list.width(), 120);
    const int listLeft = singleSubjRb->geometry().right() + 1 + ColumnGap;
    singleSubjCbox->setGeometry(listLeft, singleSubjRb->geometry().center().y() - list.height() / 2,
                                listWidth, list.height());
    right = std::max(right, listLeft + listWidth);
    const int choicesBottom = std::max(y, singleSubjCbox->geometry().bottom() + 1);

    // The buttons share one width: the widest caption and 15 pixels.
    int buttonWidth = 0;
    const QList<QPushButton *> buttons{printPb, btnSaveToFile, btnCloseWindow};
    for (QPushButton *button : buttons) {
        QString caption = button->text();
        caption.remove(u'&');
        buttonWidth = std::max({buttonWidth, button->fontMetrics().horizontalAdvance(caption) + 15,
                                button->minimumSizeHint().width()});
    }
    const int neededPanel = right + 2 * ColumnGap + buttonWidth + PanelMargin;

    // ---- the preview: A4 wide, or the margin and the plate picture with the curve page ----
    const int previewWidth = PreviewWidth();
    PaintBox1->setFixedSize(previewWidth, PreviewHeight());
    const int scrollWidth = previewWidth +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ScrollBox1) +
                            2 * ScrollBox1->frameWidth();
    // Never wider than the screen: a wider preview scrolls sideways instead.
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : std::numeric_limits<int>::max();
    ScrollBox1->setMinimumWidth(std::min(scrollWidth, screenWidth));
    const int neededWidth = std::min(std::max(scrollWidth, neededPanel), screenWidth);
    if (width() < neededWidth) {
        resize(neededWidth, height());
        if (screen && isVisible() && frameGeometry().right() > screen->availableGeometry().right())
            move(std::max(screen->availableGeometry().left(),
                          screen->availableGeometry().right() - frameGeometry().width() + 1),
                 pos().y());
    }

    const int panelWidth = std::max(width(), neededWidth);
    int buttonTop = PanelMargin;
    for (QPushButton *button : buttons) {
        const int height = button->sizeHint().height();
        button->setGeometry(panelWidth - PanelMargin - buttonWidth, buttonTop, buttonWidth, height);
        buttonTop += height + RowGap + 2;
    }
    Panel1->setFixedHeight(std::max(choicesBottom, buttonTop) + PanelMargin);
}

// ---- keys, wheel and closing ---------------------------------------------------------------------

bool TScreenPrintFormCombinedTorvinTandem::IsPrinting() const
{
    return GetPrintManager().PrinterPrintingGet();
}

void TScreenPrintFormCombinedTorvinTandem::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && IsPrinting()) {
        RunGuarded([&] {
            if (ShowMessageDialog(u"Cancel Printing?"_s, TMsgDlgType::mtConfirmation,
                                  TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo, 0) == TModalResult::mrNo)
                return;
            mJobAborted = true;
            if (mJobPrinter)
                mJobPrinter->abort();
            ShowMessageDialog(UiText(TextId::PrintingAborted), TMsgDlgType::mtInformation, TMsgDlgBtn::mbOK,
                              0);
        });
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TScreenPrintFormCombinedTorvinTandem::reject()
{
    // Not while a job runs: its drawing uses this window's report.
    if (!IsPrinting())
        QDialog::reject();
}

void TScreenPrintFormCombinedTorvinTandem::closeEvent(QCloseEvent *event)
{
    if (IsPrinting()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TScreenPrintFormCombinedTorvinTandem::btnCloseWindowClick()
{
    close();
}

bool TScreenPrintFormCombinedTorvinTandem::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && (watched == PaintBox1 || watched == ScrollBox1->viewport())) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        const QPoint angle = wheel->angleDelta();
        const int delta = angle.y() != 0 ? angle.y() : angle.x();
        bool handled = false;
        RunGuarded([&] {
            handled = FormMouseWheel(delta, wheel->modifiers().testFlag(Qt::ShiftModifier),
                                     wheel->globalPosition().toPoint());
        });
        if (handled) {
            wheel->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TScreenPrintFormCombinedTorvinTandem::FormMouseWheel(int wheelDelta, bool shift, const QPoint &globalPos)
{
    if (wheelDelta == 0 || singleSubjCbox->view()->isVisible())
        return false;
    if (!ScrollBox1->rect().contains(ScrollBox1->mapFromGlobal(globalPos)))
        return false;
    QScrollBar *bar = shift ? ScrollBox1->horizontalScrollBar() : ScrollBox1->verticalScrollBar();
    const int lines = QApplication::wheelScrollLines();
    // Up or left for a positive delta, down or right for a negative one.
    const int direction = wheelDelta > 0 ? -1 : 1;
    bar->setValue(bar->value() + direction * lines * bar->singleStep());
    return true;
}

void TScreenPrintFormCombinedTorvinTandem::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    RunGuarded([&] { ArrangeWindow(); });
}

void TScreenPrintFormCombinedTorvinTandem::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    printPb->setFocus();
}

// ---- printing ------------------------------------------------------------------------------------

bool TScreenPrintFormCombinedTorvinTandem::CheckReportSelection(QString &message) const
{
    message.clear();
    for (const QString &name : {u"cbCorvexTwoSample"_s, u"cbCorvex3Sample"_s, u"cbTorvinSample"_s}) {
        const auto *box = findChild<QCheckBox *>(name);
        if (box && box->isVisible() && box->isChecked())
            return true;
    }
    const auto *all = findChild<QCheckBox *>(u"cbPrintAllReports"_s);
    if (all && all->isChecked())
        return true;
    message = UiText(TextId::SelectSampleType);
    return false;
}

bool TScreenPrintFormCombinedTorvinTandem::MayMakeReport() const
{
    if (!mSource || IsPrinting())
        return false;
    QString message;
    if (!CheckReportSelection(message)) {
        ShowErrorMessage(message);
        return false;
    }
    return true;
}

void TScreenPrintFormCombinedTorvinTandem::printPbClick()
{
    if (!MayMakeReport())
        return;
    TPrintingCaption printing(printPb);
    if (allSubjRb->isChecked()) {
        PrintIndividualReports();
        return;
    }
    PrintChosenReport();
}

void TScreenPrintFormCombinedTorvinTandem::PrintChosenReport()
{
    const int first = GetSubjectBound(true);
    const int last = GetSubjectBound(false);
    std::unique_ptr<QPrinter> printer = NewJobPrinter();
    if (!printer) {
        ShowErrorMessage(NoDefaultPrinterText());
        return;
    }
    if (Grouped())
        printer->setDocName(u"Marnovel Grouped Data Run Number:"_s + mSource->RunDetails().RunNumber + u'.');
    else
        printer->setDocName(u"Marnovel Patient Data ID:"_s + u": "_s + singleSubjCbox->currentText());
    RunPrintJob(*printer, first, last);
}

void TScreenPrintFormCombinedTorvinTandem::PrintIndividualReports()
{
    int subject = 0;
    for (const auto &block : mSource->RunData().RawData().Blocks()) {
        ++subject;
        std::unique_ptr<QPrinter> printer = NewJobPrinter();
        if (!printer) {
            ShowErrorMessage(NoDefaultPrinterText());
            return;
        }
        printer->setDocName(u"Marnovel Patient Data ID:"_s + u": "_s + block->id() + u'.');
        // An aborted job ends the others too: the operator cancelled the printing.
        if (!RunPrintJob(*printer, subject, subject) || mJobAborted)
            return;
    }
}

bool TScreenPrintFormCombinedTorvinTandem::RunPrintJob(QPrinter &printer, int start, int end)
{
    mJobPrinter = &printer;
    mJobAborted = false;
    const TPrintJobCheck check(printer);
    QString failure = check.BeforeJob();
    if (failure.isEmpty()) {
        TPrinterPrintingScope printing;
        try {
            DrawRunReport(printer, *mSource, GetWithCurvePage(), &printer, Grouped(), start, end);
            // The printer gives no message of its own: it did not take the job.
            if (printer.printerState() == QPrinter::Error)
                failure = UiText(TextId::PrinterNotPrinting);
            else if (!mJobAborted)
                failure = check.AfterJob();
        } catch (const MarnovelException &error) {
            failure = error.Message() == u"Printer is not currently printing"_s
                          ? UiText(TextId::PrinterNotPrinting)
                          : error.Message();
        } catch (const std::exception &error) {
            const QString text = QString::fromLocal8Bit(error.what());
            failure =
                text == u"Printer is not currently printing"_s ? UiText(TextId::PrinterNotPrinting) : text;
        }
    }
    mJobPrinter = nullptr;
    if (failure.isEmpty())
        return true;
    ShowErrorMessage(failure);
    return false;
}

// ---- PDF files -----------------------------------------------------------------------------------

QString TScreenPrintFormCombinedTorvinTandem::GetPdfFileName(const QString &folder, int subject) const
{
    return ReportPdfFileName(*mSource, folder, subject);
}

void TScreenPrintFormCombinedTorvinTandem::btnSaveToFileClick()
{
    if (!MayMakeReport())
        return;
    if (!allSubjRb->isChecked()) {
        SaveReportAsPdf(-1);
        return;
    }
    const QString folder = GetConfigManager().GetDirPDFFiles();
    if (SaveIndividualReports(folder))
        ShowErrorMessage(FilesSavedText(folder));
}

bool TScreenPrintFormCombinedTorvinTandem::SaveIndividualReports(const QString &folder)
{
    const int count = mSource->ResultGrid().RowCount() - 1;
    bool saved = true;
    TPdfProgressWindow progress(this, count);
    // Neither window takes the operator's input until the last file is written.
    setEnabled(false);
    progress.setEnabled(false);
    if (isVisible())
        progress.show();
    for (int subject = 1; subject <= count && saved; ++subject) {
        progress.SetFile(subject);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        saved = WritePdf(subject, subject, GetPdfFileName(folder, subject));
    }
    setEnabled(true);
    return saved;
}

bool TScreenPrintFormCombinedTorvinTandem::SaveReportAsPdf(int subject)
{
    const QString folder = GetConfigManager().GetDirPDFFiles();
    QString path = GetPdfFileName(folder, subject);
    if (subject > 0)
        return WritePdf(subject, subject, path);
    QString chosen;
    if (!SavePdfFileDialog(QFileInfo(path).fileName(), chosen))
        return false;
    return SaveChosenReportAsPdf(chosen);
}

bool TScreenPrintFormCombinedTorvinTandem::SaveChosenReportAsPdf(const QString &path)
{
    const int first = GetSubjectBound(true);
    return WritePdf(first, GetSubjectBound(false), path);
}

bool TScreenPrintFormCombinedTorvinTandem::WritePdf(int start, int end, const QString &path)
{
    // The page image is as wide as the screen and as tall as the preview.
    const QScreen *screen = PaintBox1->screen() ? PaintBox1->screen() : QGuiApplication::primaryScreen();
    const int imageWidth = screen ? screen->geometry().width() : PreviewWidth();
    const TRunStepResult result = WriteReportPdf(*mSource, GetWithCurvePage(), Grouped(), start, end,
                                                 imageWidth, PreviewHeight(), path);
    if (result.Ok())
        return true;
    ShowErrorMessage(result.Text());
    return false;
}
