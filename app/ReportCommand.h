#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// "velomyra report": the PDF reports of a run without a person, exactly as the print window's
// Save As PDF writes them, for a laboratory system that files reports in batch. It runs on
// the offscreen platform; the run is loaded and calculated once in a run session and drawn
// by the report code, no window built.
struct TReportOptions
{
    QString runFile;
    QString pdfFile;       // --pdf: the grouped report, or with --subject that subject's
    QString subject;       // --subject: the identifier of the single subject report
    QString individualDir; // --individual: one PDF per subject, named as the window names them
    QString language = QStringLiteral("LOCALE_ENGLISH"); // --language: the catalogue it names
    bool curvePage = false;
    bool help = false;
};

// The arguments after "report". On a usage error returns nothing and sets error to one line.
std::optional<TReportOptions> ParseReportArguments(const QStringList &arguments, QString &error);
QString ReportUsageText();

// Runs the command on the arguments after "report"; messages go to standard error. Needs a
// QApplication. Exit status as velomyra-cli calc: 0 written, 2 usage, input or output
// problem, 3 data that cannot be calculated.
int RunReportCommand(const QStringList &arguments);
