#include "ReportCommand.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/Messages.h"
#include "core/RegionalSettings.h"
#include "core/SoftwareInfoManager.h"
#include "core/Tool.h"
#include "core/ToolConsole.h"
#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "plate/TextGrid.h"
#include "reports/ReportPdf.h"
#include "reports/SessionReportSource.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <exception>

using namespace Qt::StringLiterals;

namespace {

enum TReportExitStatus
{
    REPORT_WRITTEN = 0,
    REPORT_USAGE_OR_INPUT = 2,
    REPORT_NOT_CALCULABLE = 3
};

void WriteStream(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

const QString kTool = u"velomyra report"_s;

// The print window's preview: 96 pixels per inch, A4 wide with room for its scroll bar.
constexpr int kScreenDpi = 96;
constexpr int kA4PreviewWidth = 814;

void WriteError(const QString &text)
{
    WriteToolError(kTool, text);
}

class TPresenterScope
{
public:
    explicit TPresenterScope(IPresenter &presenter) : mPrevious(&GetPresenter()) { SetPresenter(&presenter); }
    ~TPresenterScope() { SetPresenter(mPrevious); }
    TPresenterScope(const TPresenterScope &) = delete;
    TPresenterScope &operator=(const TPresenterScope &) = delete;

private:
    IPresenter *mPrevious;
};

QString Quoted(const QString &fileName)
{
    return u'"' + fileName + u'"';
}

// The run loaded and calculated as the tool does, with the exit status and a reason that
// names the file when it cannot be reported.
int LoadAndCalculate(TRunSession &session, const QString &runFile, QString &reason)
{
    TRunStepResult step = session.LoadRun(runFile);
    if (step.Ok())
        step = session.Calculate();
    if (!step.Ok()) {
        reason = step.FileName.isEmpty() ? step.Reason : Quoted(step.FileName) + u": "_s + step.Reason;
        return step.Status == TRunStepResult::NotCalculable ? REPORT_NOT_CALCULABLE : REPORT_USAGE_OR_INPUT;
    }
    // As the window opens a run: characters a file name cannot hold leave the run details.
    TRunDetails details = session.Details();
    if (!ContainsNoInvalidChar(details.RunNumber + details.KitBatchNumber + details.OperatorName)) {
        for (QString *text : {&details.RunNumber, &details.KitBatchNumber, &details.OperatorName})
            *text = RemoveInvalidChars(*text);
        session.SetDetails(details);
        ShowErrorMessage(InvalidCharMessage());
    }
    return REPORT_WRITTEN;
}

int SubjectNumber(const IReportSource &source, const QString &identifier)
{
    const ITextGrid &results = source.ResultGrid();
    for (int row = 1; row < results.RowCount(); ++row) {
        if (results.Cell(0, row) == identifier)
            return row;
    }
    return 0;
}

} // namespace

QString ReportUsageText()
{
    return uR"(Usage:
  velomyra report RUN.vdf --pdf FILE [--subject ID] [--curve-page] [--language CODE]
  velomyra report RUN.vdf --individual DIR [--curve-page] [--language CODE]

Writes the PDF reports of a stored run exactly as the print window's Save As PDF writes
them: the run is loaded and calculated as on screen, without showing a window.
  --pdf FILE        the grouped report of all subjects into FILE; with --subject, the
                    single subject report of the subject with identifier ID
  --individual DIR  one report per subject into DIR (created when missing), named as the
                    print window names them: run date "ddMMMyy", "_", the identifier and
                    the first free suffix ("08Dec26_ID 12a.pdf"); what cannot stand in
                    a file name ("/", "..", control characters) becomes "_"
  --curve-page      add the page with the standard curve and the plate format
  --language CODE   the language of the reports' texts, as the print window shows them
                    in that language: en English (the default), de German, fr French,
                    es Spanish, it Italian, el Greek, pt Portuguese, pl Polish; dates and
                    numbers keep the regional settings

Examples:
  velomyra report run.vdf --pdf run.pdf --curve-page
  velomyra report run.vdf --individual reports --language de

Exit status:
  0  written
  2  wrong usage; a run file that cannot be read or calculated yet; an unknown subject;
     a PDF that cannot be written
  3  data that cannot be calculated
)"_s;
}

std::optional<TReportOptions> ParseReportArguments(const QStringList &arguments, QString &error)
{
    TReportOptions options;
    QStringList positional;
    QStringList seen;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(u"--"_s)) {
            positional.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (argument == u"--help") {
            options.help = true;
            return options;
        }
        if (seen.contains(argument)) {
            error = argument + u" is given twice"_s;
            return std::nullopt;
        }
        seen.append(argument);
        if (argument == u"--curve-page") {
            options.curvePage = true;
            continue;
        }
        if (argument == u"--language") {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(u"--"_s)) {
                error = argument + u" needs a value"_s;
                return std::nullopt;
            }
            const std::optional<QString> catalogue = ToolLanguageCatalogue(arguments.at(++i), error);
            if (!catalogue)
                return std::nullopt;
            options.language = *catalogue;
            continue;
        }
        QString *target = argument == u"--pdf"          ? &options.pdfFile
                          : argument == u"--subject"    ? &options.subject
                          : argument == u"--individual" ? &options.individualDir
                                                        : nullptr;
        if (!target) {
            error = u"unknown option "_s + argument;
            return std::nullopt;
        }
        if (i + 1 >= arguments.size() || arguments.at(i + 1).startsWith(u"--"_s) ||
            arguments.at(i + 1).isEmpty()) {
            error = argument + u" needs a value"_s;
            return std::nullopt;
        }
        *target = arguments.at(++i);
    }
    if (positional.size() != 1) {
        error = positional.isEmpty() ? u"no run data file given"_s : u"only one run data file can be given"_s;
        return std::nullopt;
    }
    options.runFile = positional.first();
    if (options.pdfFile.isEmpty() == options.individualDir.isEmpty()) {
        error = u"give either --pdf FILE or --individual DIR"_s;
        return std::nullopt;
    }
    if (!options.subject.isEmpty() && options.pdfFile.isEmpty()) {
        error = u"--subject goes with --pdf"_s;
        return std::nullopt;
    }
    return options;
}

namespace {

int ReportCommand(const QStringList &arguments)
{
    QString error;
    const std::optional<TReportOptions> options = ParseReportArguments(arguments, error);
    if (!options) {
        WriteToolUsageError(kTool, error);
        return REPORT_USAGE_OR_INPUT;
    }
    if (options->help) {
        WriteStream(stdout, ReportUsageText());
        return REPORT_WRITTEN;
    }

    // Whatever the windows would show in a box goes to standard error; dialogs are cancelled.
    TToolErrorPresenter presenter(kTool);
    TPresenterScope presenterScope(presenter);
    // As the program starts: version information, then the chosen catalogue (English unless
    // --language names another).
    GetSoftwareInfoManager();
    GetTranslationManager().LoadResource(options->language);
    ReportRegionalSettingsWarnings();

    if (const QString problem = InputFileProblem(options->runFile); !problem.isEmpty()) {
        WriteError(Quoted(options->runFile) + u": "_s + problem);
        return REPORT_USAGE_OR_INPUT;
    }
    if (!options->pdfFile.isEmpty() && IsSameFile(options->pdfFile, options->runFile)) {
        WriteError(Quoted(options->pdfFile) + u": --pdf names the run data file being read."_s);
        return REPORT_USAGE_OR_INPUT;
    }
    TRunSession session;
    QString reason;
    if (const int status = LoadAndCalculate(session, options->runFile, reason); status != REPORT_WRITTEN) {
        WriteError(reason);
        return status;
    }
    if (!options->individualDir.isEmpty() && !QDir().mkpath(options->individualDir)) {
        WriteError(Quoted(options->individualDir) + u": the folder cannot be created."_s);
        return REPORT_USAGE_OR_INPUT;
    }

    const TSessionReportSource source(session);
    const bool curve = options->curvePage;
    // The page image as the print window's Save As PDF makes it: as wide as the screen, as
    // tall as its preview of the chosen report (subject 1 for the individual reports) with 50
    // pixels below a grouped report and 100 below a subject's.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int imageWidth = screen ? screen->geometry().width() : kA4PreviewWidth;
    const auto imageHeight = [&](bool grouped, int start, int end) {
        return MeasureRunReport(source, curve, grouped, start, end, kScreenDpi, kScreenDpi) +
               (grouped ? 50 : 100);
    };
    const auto write = [&](bool grouped, int start, int end, int height, const QString &path) {
        const TRunStepResult step =
            WriteReportPdf(source, curve, grouped, start, end, imageWidth, height, path);
        if (!step.Ok())
            ShowErrorMessage(step.Text());
        return step.Ok();
    };

    bool written = false;
    if (!options->individualDir.isEmpty()) {
        const int count = source.ResultGrid().RowCount() - 1;
        const int height = imageHeight(false, 1, 1);
        written = true;
        for (int subject = 1; subject <= count && written; ++subject)
            written = write(false, subject, subject, height,
                            ReportPdfFileName(source, options->individualDir, subject));
    } else if (!options->subject.isEmpty()) {
        const int subject = SubjectNumber(source, options->subject);
        if (subject == 0) {
            WriteError(u"the run has no subject with the identifier "_s + Quoted(options->subject) + u'.');
            return REPORT_USAGE_OR_INPUT;
        }
        written = write(false, subject, subject, imageHeight(false, subject, subject), options->pdfFile);
    } else {
        // A run without subjects reports its standards alone.
        const int last = std::max(source.ResultGrid().RowCount() - 1, 0);
        written = write(true, 1, last, imageHeight(true, 1, last), options->pdfFile);
    }
    return written ? REPORT_WRITTEN : REPORT_USAGE_OR_INPUT;
}

} // namespace

int RunReportCommand(const QStringList &arguments)
{
    try {
        return ReportCommand(arguments);
    } catch (const MarnovelException &error) {
        WriteError(error.Message());
    } catch (const std::exception &error) {
        WriteError(QString::fromLocal8Bit(error.what()));
    }
    return REPORT_USAGE_OR_INPUT;
}
