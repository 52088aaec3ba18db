#include "CalcCommand.h"
#include "files/RunJson.h"
#include "workbook/RunWorkbook.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/TextIds.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "files/ExportTexts.h"
#include "files/RunSession.h"
#include "run/MarnovelRdData.h"
#include "run/ResultTexts.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A plate reader's export of one plate is a few kilobytes.
constexpr qint64 MaxPlateFileBytes = 1024 * 1024;

// Ends the command with a status and a message; nothing has been written yet.
struct TCalcFailure
{
    int status;
    QString message;
};

QString Quoted(const QString &fileName)
{
    return u'"' + fileName + u'"';
}

// One line: the file and what is wrong with it.
[[noreturn]] void Fail(const QString &fileName, const QString &reason)
{
    throw TCalcFailure{EXIT_USAGE_OR_LOAD, Quoted(fileName) + u": "_s + reason};
}

// A refused step of the run ends the command with its reason.
void Check(const TRunStepResult &step)
{
    if (!step.Ok())
        throw TCalcFailure{StepFailureStatus(step), StepFailureText(step)};
}

// An output that names an input or another output would destroy what it replaces; both
// are compared after resolving links.
void CheckOutputsDistinct(const TCliOptions &options)
{
    struct TNamedFile
    {
        QString name;
        QString path;
    };
    QList<TNamedFile> inputs;
    if (options.PlateMode())
        inputs = {{u"the file given to --plate"_s, options.plateFile},
                  {u"the file given to --format"_s, options.formatFile}};
    else
        inputs = {{u"the run data file being read"_s, options.runFile}};
    QList<TNamedFile> outputs;
    if (!options.saveFile.isEmpty())
        outputs.append({u"--save"_s, options.saveFile});
    if (!options.workbookFile.isEmpty())
        outputs.append({u"--xlsx"_s, options.workbookFile});
    if (!options.resultsExportFile.isEmpty() && options.resultsExportFile != u"-")
        outputs.append({u"--results-export"_s, options.resultsExportFile});
    if (!options.dataExportFile.isEmpty() && options.dataExportFile != u"-")
        outputs.append({u"--data-export"_s, options.dataExportFile});

    for (qsizetype i = 0; i < outputs.size(); ++i) {
        const TNamedFile &output = outputs.at(i);
        for (const TNamedFile &input : inputs) {
            if (IsSameFile(output.path, input.path))
                Fail(output.path,
                     output.name + u" names "_s + input.name + u"; an output must not overwrite an input."_s);
        }
        for (qsizetype j = i + 1; j < outputs.size(); ++j) {
            if (IsSameFile(output.path, outputs.at(j).path))
                Fail(output.path, output.name + u" and "_s + outputs.at(j).name + u" name the same file."_s);
        }
    }
}

QString ReadPlateFile(const QString &fileName)
{
    if (const QString problem = InputFileProblem(fileName); !problem.isEmpty())
        Fail(fileName, problem);
    if (QFileInfo(fileName).size() > MaxPlateFileBytes)
        Fail(fileName, u"the file is too large to be a plate reader's output."_s);
    // Plate readers write UTF-8 without a byte-order mark as often as the ANSI code page.
    try {
        return DecodeTextPreferringUtf8(ReadWholeFile(fileName));
    } catch (const MarnovelException &error) {
        Fail(fileName, error.Reason().isEmpty() ? error.Message() : error.Reason());
    }
}

// The layout first: a plate narrower than it is then refused as the window refuses such a paste.
void LoadPlateAndFormat(const TCliOptions &options, TRunSession &session)
{
    Check(session.LoadFormat(options.formatFile));
    const int points = StandardCountOfCurveType(session.CurveType());
    if (options.curvePoints && *options.curvePoints != points)
        throw TCalcFailure{
            EXIT_USAGE_OR_LOAD,
            u"--curve %1 does not match the format file, whose standards are laid out for a %2-point curve."_s
                .arg(*options.curvePoints)
                .arg(points)};
    if (options.stdConc) {
        if (const auto problem = CheckStdConc(*options.stdConc, points))
            throw TCalcFailure{EXIT_USAGE_OR_LOAD, *problem};
        Check(session.SetStdConc(QList<double>(*options.stdConc) << 0.0));
    }
    Check(session.SetPlateText(ReadPlateFile(options.plateFile), options.plateFile));
    session.SetDetails({options.runDate.value_or(QDate::currentDate()), options.runNumber,
                        options.kitBatchNumber, options.operatorName});
}

QString Column(const TStringGridData &table, int col, int row)
{
    if (col < 0 || col >= table.size() || row < 0 || row >= table.at(col).size())
        return QString();
    return table.at(col).at(row);
}

QString SummaryText(const TMarnovelRdData &data, const TRunCalculationResult &result,
                    const TRunDetails &details)
{
    QString text;
    text += TableText(
        {{UiText(TextId::RunDate) + u':', FormatDate(u"dd/mmm/yyyy"_s, details.RunDate)},
         {UiText(TextId::RunNumber) + u':', details.RunNumber},
         {UiText(TextId::KitBatchNumber) + u':', details.KitBatchNumber},
         {UiText(TextId::Operator) + u':', details.OperatorName},
         {UiText(TextId::CurveType) + u':', UiText(data.GetCurveType() == CURVE_8POINT ? 355 : 356)}});
    text += u'\n';

    QList<QStringList> standards;
    const TStringGridData table = ResultTexts::StandardsTable(result.Qc.Standards);
    const int rows = table.isEmpty() ? 0 : static_cast<int>(table.first().size());
    for (int row = 0; row < rows; ++row) {
        QStringList line;
        for (int col = 0; col < 5; ++col)
            line << Column(table, col, row);
        standards << line;
    }
    text += TableText(standards) + u'\n';

    text += TableText({{UiText(TextId::Intercept) + u':', ResultTexts::CurveValue(result.Intercept)},
                       {UiText(TextId::Slope) + u':', ResultTexts::CurveValue(result.Slope)},
                       {UiText(TextId::CorrelationCoefficient) + u':',
                        ResultTexts::Correlation(result.Correlation) + u"  "_s +
                            UiText(result.CorrelationPass ? 79 : 80)}});
    text += u'\n' + ResultTexts::Verdict(result) + u'\n';
    if (result.PlateWashNote)
        text += UiText(TextId::PlateWashingNote) + u'\n';
    text += u'\n';

    QList<QStringList> subjects{{UiText(TextId::SubjectId), UiText(TextId::ResultIuPerMl)}};
    for (const TRunSubjectResult &subject : result.Subjects)
        subjects << QStringList{subject.Id, StripMarkup(subject.ResultText)};
    text += TableText(subjects);
    if (const QStringList footnote = ResultTexts::FootnoteLines(result); !footnote.isEmpty())
        text += u'\n' + footnote.join(u'\n') + u'\n';
    return text;
}

// "-" is standard output: the text without a byte-order mark.
void AddOutput(const QString &target, const QString &text, QByteArray &standardOutput,
               QList<std::pair<QString, QString>> &files)
{
    if (target.isEmpty())
        return;
    if (target == u"-")
        standardOutput += text.toUtf8();
    else
        files.append({target, text});
}

} // namespace

int StepFailureStatus(const TRunStepResult &step)
{
    return step.Status == TRunStepResult::NotCalculable ? EXIT_NOT_CALCULABLE : EXIT_USAGE_OR_LOAD;
}

QString StepFailureText(const TRunStepResult &step)
{
    return step.FileName.isEmpty() ? step.Reason : Quoted(step.FileName) + u": "_s + step.Reason;
}

// No line ends in blanks (an empty last cell would leave the padding behind).
QString TableText(const QList<QStringList> &rows)
{
    QList<qsizetype> widths;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (widths.size() <= c)
                widths.append(0);
            widths[c] = std::max(widths[c], row.at(c).size());
        }
    }
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c + 1 < row.size() ? row.at(c).leftJustified(widths.at(c) + 2) : row.at(c);
        while (line.endsWith(u' '))
            line.chop(1);
        text += line + u'\n';
    }
    return text;
}

TCalcOutcome RunCalcCommand(const TCliOptions &options)
{
    TCalcOutcome outcome;
    try {
        CheckOutputsDistinct(options);
        TRunSession session;
        if (options.PlateMode())
            LoadPlateAndFormat(options, session);
        else
            Check(session.LoadRun(options.runFile));
        Check(session.Calculate());
        const TMarnovelRdData &data = session.Data();
        const TRunCalculationResult &result = *session.LastResult();
        const TRunDetails &details = session.Details();

        // Everything is computed before the first byte is written.
        QList<std::pair<QString, QString>> exportFiles;
        if (!options.resultsExportFile.isEmpty())
            AddOutput(options.resultsExportFile, session.ResultsExportText(), outcome.standardOutput,
                      exportFiles);
        if (!options.dataExportFile.isEmpty())
            AddOutput(options.dataExportFile, session.RawDataExportText(), outcome.standardOutput,
                      exportFiles);
        if (options.json)
            outcome.standardOutput += RunJsonText(session);
        else if (!options.StdoutTaken())
            outcome.standardOutput += SummaryText(data, result, details).toUtf8();
        const QByteArray runFileBytes = options.saveFile.isEmpty() ? QByteArray() : session.RunFileBytes();
        // The record's checksum is of the run file as it lies on disk, or as --save writes it.
        if (options.record) {
            QByteArray recordedBytes = runFileBytes;
            if (!options.PlateMode())
                recordedBytes = ReadWholeFile(options.runFile);
            else if (recordedBytes.isEmpty())
                recordedBytes = session.RunFileBytes();
            outcome.record = TArchiveRecord::FromRun(session, recordedBytes);
        }

        // Every file goes to its temporary file first; they are renamed only when all are
        // complete and standard output has been written (CommitCalcOutputs), so that a full
        // disk, a missing folder or a closed standard output changes none of them. The run
        // file is renamed first: should that fail, no export has been replaced yet.
        QString target;
        try {
            if (!options.saveFile.isEmpty()) {
                target = options.saveFile;
                outcome.pendingFiles.push_back(std::make_unique<TSafeFileWriter>(options.saveFile));
                outcome.pendingFiles.back()->Write(runFileBytes);
            }
            for (const auto &[fileName, text] : exportFiles) {
                target = fileName;
                outcome.pendingFiles.push_back(std::make_unique<TSafeFileWriter>(fileName));
                outcome.pendingFiles.back()->Write(ExportFileBytes(text));
            }
            if (!options.workbookFile.isEmpty()) {
                target = options.workbookFile;
                outcome.pendingFiles.push_back(std::make_unique<TSafeFileWriter>(options.workbookFile));
                WriteRunWorkbook(session, *outcome.pendingFiles.back());
            }
        } catch (const MarnovelException &error) {
            throw TCalcFailure{
                EXIT_USAGE_OR_LOAD,
                WriteFailureText(target, error.Reason().isEmpty() ? error.Message() : error.Reason())};
        }
    } catch (const TCalcFailure &failure) {
        outcome.status = failure.status;
        outcome.errorMessage = failure.message;
        outcome.standardOutput.clear();
        outcome.pendingFiles.clear();
        outcome.record.reset();
    }
    return outcome;
}

QStringList CommitCalcOutputs(TCalcOutcome &outcome, bool standardOutputWritten)
{
    QStringList written;
    if (standardOutputWritten)
        written << u"standard output"_s;
    for (const std::unique_ptr<TSafeFileWriter> &file : outcome.pendingFiles) {
        try {
            file->Commit();
        } catch (const MarnovelException &error) {
            QStringList message{
                WriteFailureText(file->Path(), error.Reason().isEmpty() ? error.Message() : error.Reason())};
            if (!written.isEmpty())
                message << u"written before this failure: "_s + written.join(u", "_s) +
                               u"; every other output was left as it was."_s;
            outcome.pendingFiles.clear();
            return message;
        }
        written << Quoted(file->Path());
    }
    outcome.pendingFiles.clear();
    return {};
}
