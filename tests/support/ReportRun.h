#pragma once

// A stored run for the report tests, and what the tests read back from the PDF files.

#include "core/MarnovelUtils.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace TestSupport {

// The example 8-point run cut down to `subjects` research samples with the identifiers
// "ID 12", "ID 13", ..., dated 8 December 2026, run number 7. With calculable false both
// S1 wells read 0, which no curve can be fitted through. Returns the file's path.
inline QString WriteReportRun(const QString &folder, int subjects, bool calculable = true)
{
    const QString example =
        DecodeText(ReadWholeFile(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")));
    const QStringList sections = example.split(QStringLiteral("\r\n\r\n"), Qt::SkipEmptyParts);
    QStringList kept;
    int cells = 0;
    int samples = 0;
    for (QString section : sections) {
        if (section.startsWith(QStringLiteral("[GeneralInfo]"))) {
            section.replace(QStringLiteral("RunDateI18n=2026-12-09"),
                            QStringLiteral("RunDateI18n=2026-12-08"));
            section.replace(QRegularExpression(QStringLiteral("RunNumber=[^\r]*")),
                            QStringLiteral("RunNumber=7"));
            kept << section;
            continue;
        }
        const bool standard = section.contains(QStringLiteral("BlockType=1"));
        if (!standard) {
            if (samples == subjects)
                continue;
            ++samples;
            section.replace(QRegularExpression(QStringLiteral("\r\nID=[^\r]*")),
                            QStringLiteral("\r\nID=ID ") + QString::number(11 + samples));
        } else if (!calculable) {
            section.replace(QRegularExpression(QStringLiteral("Point0=(\\d)\\|1\\|1\\|[0-9.]+")),
                            QStringLiteral("Point0=\\1|1|1|0"));
        }
        section.replace(QRegularExpression(QStringLiteral("^\\[Cell\\d+\\]")),
                        QStringLiteral("[Cell") + QString::number(cells++) + u']');
        kept << section;
    }
    const QString text = kept.join(QStringLiteral("\r\n\r\n")) + QStringLiteral("\r\n\r\n");
    QByteArray bytes("\xFF\xFE", 2);
    bytes += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    const QString path = QDir(folder).filePath(QStringLiteral("report-run.vdf"));
    WriteFileAtomically(path, bytes);
    return path;
}

// One field of pdfinfo's output for the file ("Pages", "Title"); empty when pdfinfo cannot
// read it.
inline QString PdfInfo(const QString &path, const QString &field)
{
    QProcess process;
    process.start(QStringLiteral("pdfinfo"), {path});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(field + u':'))
            return line.mid(field.size() + 1).trimmed();
    }
    return QString();
}

inline int PdfPageCount(const QString &path)
{
    return PdfInfo(path, QStringLiteral("Pages")).toInt();
}

} // namespace TestSupport
