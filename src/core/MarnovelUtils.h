#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File, folder and text-file helpers.

QString FileNameWithoutExtension(const QString &name);
QString ExtensionWithoutDot(const QString &name);
// True when the folder exists or was created with all missing parents. When creation
// fails and raise is set: MarnovelException with text 203 + " " + path.
bool EnsureDirectory(const QString &path, bool raise);
// folder + name + suffix ("a".."y", "aa".."yy", ...) + "." + ext: the first that does not exist.
QString UniqueFileName(const QString &folder, const QString &name, const QString &ext);
// Section-and-key lookup over the lines of a file (letter case ignored).
QString GetSectionValue(const QStringList &lines, const QString &section, const QString &key,
                        const QString &defaultValue);
bool IsEnterKey(int key);

// Text of a file or resource: the encoding named by its byte-order mark (UTF-8, UTF-16 LE/BE,
// UTF-32 LE/BE), Windows-1252 without one. The mark itself is not part of the text.
QString DecodeText(const QByteArray &bytes);
// Lines ended by CR LF, LF or CR; a final line end adds no empty line.
QStringList SplitLines(const QString &text);
// Writes to a temporary file in the target's folder, then renames it over the target,
// so an interrupted write never destroys the previous file. EInOutError on failure.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);
// Whole file; EInOutError when it cannot be read.
QByteArray ReadWholeFile(const QString &path);
