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
// S1 wells read 0, which no curve can be fitted through. identifiers, when given, replace
// the first subjects' identifiers as they stand. Returns the file's path.
inline QString WriteReportRun(const QString &folder, int subjects, bool calculable = true,
                              const QStringList &identifiers = {})
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
            const QString identifier = samples <= identifiers.size()
                                           ? identifiers.at(samples - 1)
                                           : QStringLiteral("ID ") + QString::number(11 + samples);
            // Put in as it stands: as a replacement text, "\1" in an identifier would name a group.
            const QRegularExpressionMatch line =
                QRegularExpression(QStringLiteral("\r\nID=[^\r]*")).match(section);
            if (line.hasMatch())
                section.replace(line.capturedStart(), line.capturedLength(),
                                QStringLiteral("\r\nID=") + identifier);
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

// Identifiers that must not steer a file name made from them out of its folder, nor make it
// unwritable: climbing "../", 15 of each separator, colon, dot, control and bidirectional
// control character, a leading dot, and one of longLength characters (1.5 MB; far beyond a
// file name's 255 bytes already at 300). Laying out a 1.5 MB identifier on the report pages
// takes the better part of a minute, so suites that run three times use the shorter one.
inline QStringList HostileIdentifiers(int longLength = 1500000)
{
    return {QStringLiteral("../../../pwn"),
            QStringLiteral("../../../../../"),
            QString(15, u'/'),
            QString(15, u'\\'),
            QString(15, u':'),
            QString(15, u'.'),
            QString(15, QChar(0x1B)),
            QString(15, QChar(0x202E)),
            QStringLiteral(".hidden"),
            QString(longLength, u'Z')};
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
