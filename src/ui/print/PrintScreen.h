#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <memory>

class IReportSource;
class QCheckBox;
class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollArea;
class TPrintPreviewBox;

// The printer of the report jobs: the platform's default printer, never chosen in a dialog.
// Null when no default printer is set up. Tests install a factory that hands out printers
// writing PDF files, one per job.
using TReportPrinterFactory = std::function<std::unique_ptr<QPrinter>()>;
std::unique_ptr<QPrinter> DefaultReportPrinter();
// An empty factory restores DefaultReportPrinter.
void SetReportPrinterFactory(TReportPrinterFactory factory);

// What the operator reads when no default printer is set up.
QString NoDefaultPrinterText();

// The print and PDF window: a scrollable preview of the run report, the report type
// (grouped, individual, single subject), the curve page option, printing on the default
// printer and saving PDF files. One instance, created at start-up and opened by the main
// window's Print button with the report source of the current run.
class TScreenPrintFormCombinedTorvinTandem : public QDialog
{
    Q_OBJECT

public:
    // The gap the main window opens the window with (mm).
    static constexpr int DefaultGapMm = 12;

    explicit TScreenPrintFormCombinedTorvinTandem(QWidget *parent = nullptr);
    ~TScreenPrintFormCombinedTorvinTandem() override;

    enum class TReportKind
    {
        Grouped,
        Individual,
        SingleSubject
    };

    // Fills the subject list from the source, previews the grouped report and shows the
    // window modally; enable allows the report type choice. The source must outlive the
    // window's opening (the main window keeps it).
    void ShowPrintWindow(const IReportSource &source, int gapMm, bool enable);
    // The same without showing the window (the headless report).
    void PreparePreview(const IReportSource &source, int gapMm, bool enable);
    // Chooses as the operator does: the curve page option first, then the report type and,
    // for a single subject report, the subject (1-based).
    void ChooseReport(bool withCurvePage, TReportKind kind, int subject);
    // Captions in the current language; the main window calls it after a language change.
    void InitializeText();

    // ---- what the controls do ------------------------------------------------------------
    void printPbClick();
    void btnSaveToFileClick();
    void btnCloseWindowClick();
    void allSubjRbClick();
    void singleSubjCboxChange();
    void cbPrintStdCurveAndPlateFormatClick();
    // Scrolls the preview for a wheel turned over it (vertically, horizontally with Shift);
    // false when the wheel is not the preview's.
    bool FormMouseWheel(int wheelDelta, bool shift, const QPoint &globalPos);

    // ---- the report chosen -----------------------------------------------------------------
    bool GetWithCurvePage() const;
    bool Grouped() const;
    // The list's item index + 1; writing sets the item index.
    int SingleSubjIndex() const;
    void SetSingleSubjIndex(int value);
    // First or last subject of the chosen report; out of range: the list goes back to the
    // first subject with a message.
    int GetSubjectBound(bool first);
    // Run date "ddmmmyy", "_", the subject's identifier (subject > 0) or the run number;
    // the first free name in folder.
    QString GetPdfFileName(const QString &folder, int subject) const;
    // The kit sample types are not offered in this window; "Print all Reports" always is.
    bool CheckReportSelection(QString &message) const;

    // One print job: false when it failed (the reason has been shown).
    bool RunPrintJob(QPrinter &printer, int start, int end);
    // The PDF of one report; subject -1: the chosen grouped or single subject report,
    // through the save dialog. False when nothing was written.
    bool SaveReportAsPdf(int subject);
    void PrintIndividualReports();
    // Every subject's report as its own PDF in folder, named as GetPdfFileName names them;
    // stops at the first file that cannot be written (its reason has been shown).
    bool SaveIndividualReports(const QString &folder);
    // The chosen grouped or single subject report into path, without a dialog.
    bool SaveChosenReportAsPdf(const QString &path);

    // Draws the preview from the source (gap in mm) and sizes the window for it.
    void paintForm(const IReportSource &source, int gapMm);
    void ArrangeWindow();
    // The preview's width in screen pixels: A4 or, with the curve page, margin + raw data grid.
    int PreviewWidth() const;
    // The height of the page image of a PDF (the preview's height).
    int PreviewHeight() const;

    // The report drawn on the preview (for the preview box).
    int DrawPreview(QPaintDevice &surface) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void RefreshSubjectList();
    // Draws the report once to learn its bottom and sizes the preview to bottom + extra.
    void MeasurePreview(int extra);
    void RedrawAfterChoice();
    void PrintChosenReport();
    bool WritePdf(int start, int end, const QString &path);
    bool IsPrinting() const;
    // A run is shown, no job runs and the report selection passes (else its message is shown).
    bool MayMakeReport() const;

    const IReportSource *mSource = nullptr;
    QPrinter *mJobPrinter = nullptr; // the printer of the job running
    bool mJobAborted = false;
    int mPreviewHeight = 0;

    QWidget *Panel1;
    QLabel *lblPrintOptions, *lblReportType;
    QCheckBox *cbPrintStdCurveAndPlateFormat;
    QRadioButton *assayRb, *allSubjRb, *singleSubjRb;
    QComboBox *singleSubjCbox;
    QPushButton *btnCloseWindow, *btnSaveToFile, *printPb;
    QScrollArea *ScrollBox1;
    TPrintPreviewBox *PaintBox1;
};
