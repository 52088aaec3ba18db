#include "MarnovelUtils.h"

#include "Exceptions.h"
#include "UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>

namespace {

// Position of the dot that starts the extension of the last path element, or -1.
qsizetype ExtensionDot(const QString &name)
{
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        const QChar c = name.at(i);
        if (c == QLatin1Char('.'))
            return i;
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return -1;
    }
    return -1;
}

bool PathIsTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Code points of bytes 0x80-0x9F; the five unassigned bytes keep their C1 control value.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        *out++ = b >= 0x80 && b <= 0x9F ? QChar(Windows1252High[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

// Qt's own UTF-32 decoder lets code points beyond U+10FFFF and surrogates through as
// broken UTF-16; they become replacement characters here.
QString DecodeUtf32(QByteArrayView bytes, bool bigEndian)
{
    QString text;
    text.reserve(bytes.size() / 4 + 1);
    qsizetype i = 0;
    for (; i + 4 <= bytes.size(); i += 4) {
        char32_t code = 0;
        for (int k = 0; k < 4; ++k) {
            const auto b = static_cast<unsigned char>(bytes[i + (bigEndian ? k : 3 - k)]);
            code = (code << 8) | b;
        }
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            text += QChar(QChar::ReplacementCharacter);
        else
            text += QString::fromUcs4(&code, 1);
    }
    if (i < bytes.size())
        text += QChar(QChar::ReplacementCharacter);
    return text;
}

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool StartsWith(const QByteArray &bytes, std::initializer_list<unsigned char> mark)
{
    if (bytes.size() < static_cast<qsizetype>(mark.size()))
        return false;
    qsizetype i = 0;
    for (const unsigned char b : mark)
        if (static_cast<unsigned char>(bytes.at(i++)) != b)
            return false;
    return true;
}

} // namespace

QString FileNameWithoutExtension(const QString &name)
{
    const qsizetype dot = ExtensionDot(name);
    return dot < 0 ? name : name.left(dot);
}

QString ExtensionWithoutDot(const QString &name)
{
    const qsizetype dot = ExtensionDot(name);
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool EnsureDirectory(const QString &path, bool raise)
{
    if (!path.isEmpty() && QFileInfo(path).isDir())
        return true;
    const bool created = !path.isEmpty() && QDir().mkpath(path);
    if (!created && raise)
        throw MarnovelException(UiText(203) + QLatin1Char(' ') + path);
    return created;
}

QString UniqueFileName(const QString &folder, const QString &name, const QString &ext)
{
    QString prefix = folder;
    if (!prefix.isEmpty() && !prefix.endsWith(QLatin1Char('/')) && !prefix.endsWith(QLatin1Char('\\')))
        prefix += QLatin1Char('/');
    prefix += name;
    // 25 letters at up to 40 repeats: far more names than any folder holds for one day.
    constexpr int maxRepeat = 40;
    for (int repeat = 1; repeat <= maxRepeat; ++repeat) {
        for (char16_t letter = u'a'; letter <= u'y'; ++letter) {
            const QString candidate = prefix + QString(repeat, QChar(letter)) + QLatin1Char('.') + ext;
            if (!PathIsTaken(candidate))
                return candidate;
        }
    }
    throw EInOutError(QStringLiteral("No free file name for ") + prefix + QStringLiteral(" in ") + folder);
}

QString GetSectionValue(const QStringList &lines, const QString &section, const QString &key,
                        const QString &defaultValue)
{
    const QString heading = QLatin1Char('[') + section + QLatin1Char(']');
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i).compare(heading, Qt::CaseInsensitive) != 0)
        ++i;
    if (i >= lines.size())
        return defaultValue;
    for (++i; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.startsWith(QLatin1Char('[')))
            break;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return defaultValue;
}

// 13 is the key code of the platform the program comes from; the toolkit's own codes
// for Return and Enter are accepted as well.
bool IsEnterKey(int key)
{
    return key == 13 || key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString DecodeText(const QByteArray &bytes)
{
    // UTF-32 LE before UTF-16 LE: both begin with FF FE.
    if (StartsWith(bytes, {0xFF, 0xFE, 0x00, 0x00}))
        return DecodeUtf32(QByteArrayView(bytes).sliced(4), false);
    if (StartsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}))
        return DecodeUtf32(QByteArrayView(bytes).sliced(4), true);
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return Decode(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    if (StartsWith(bytes, {0xFF, 0xFE}))
        return Decode(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    if (StartsWith(bytes, {0xFE, 0xFF}))
        return Decode(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    return DecodeWindows1252(bytes);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines << text.mid(start, i - start);
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    const auto fail = [&](const QString &reason) {
        throw EInOutError(QStringLiteral("Could not write the file ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(": ") + reason);
    };
    if (QFileInfo(path).isDir())
        fail(QStringLiteral("a folder has that name"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}

QByteArray ReadWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInOutError(QStringLiteral("Could not read the file ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(": ") + file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EInOutError(QStringLiteral("Could not read the file ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(": ") + file.errorString());
    return bytes;
}
