#include "MarnovelUtils.h"

#include "Exceptions.h"
#include "UiTextManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <array>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // The UTF-16 decoder passes unpaired surrogates through.
    return ReplaceLoneSurrogates(decoder.decode(bytes));
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

namespace {

bool IsRefusedInFileName(char32_t c)
{
    switch (c) {
    case U'/':
    case U'\\':
    case U':':
    case U'*':
    case U'?':
    case U'"':
    case U'<':
    case U'>':
    case U'|':
        return true;
    default:
        break;
    }
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format: // bidirectional controls, zero-width characters
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

qsizetype Utf8Length(char32_t c)
{
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// The folder a path lies in, after "." and ".." are resolved.
QString ContainingFolder(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absolutePath());
}

} // namespace

QString SafeFileNamePart(const QString &text)
{
    QString safe;
    qsizetype bytes = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const qsizetype start = i;
        char32_t c = text.at(i++).unicode();
        if (QChar::isHighSurrogate(c) && i < n && text.at(i).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(i++).unicode());
        const bool dotRun =
            c == U'.' && ((start > 0 && text.at(start - 1) == u'.') || (i < n && text.at(i) == u'.'));
        if (IsRefusedInFileName(c) || (c == U'.' && (safe.isEmpty() || dotRun)))
            c = U'_';
        bytes += Utf8Length(c);
        if (bytes > MaxFileNamePartBytes)
            break;
        if (c == U'_' || c == text.at(start).unicode())
            safe += QChar(char16_t(c));
        else
            safe += QStringView(text).sliced(start, i - start);
    }
    return safe;
}

QString UniqueFileName(const QString &folder, const QString &name, const QString &ext)
{
    QString prefix = folder;
    if (!prefix.isEmpty() && !prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    prefix += SafeFileNamePart(name);
    // The name has no separator and no "..": this only fails if that ever stops being so.
    if (ContainingFolder(prefix + QLatin1Char('.') + ext) != QDir::cleanPath(QDir(folder).absolutePath()))
        throw EInOutError(QStringLiteral("The file name ") + prefix +
                          QStringLiteral(" is not in the folder ") + folder);
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

QString WithDefaultExtension(const QString &path, const QString &ext)
{
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return name.isEmpty() || name.contains(QLatin1Char('.')) ? path : path + QLatin1Char('.') + ext;
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

bool HasByteOrderMark(const QByteArray &bytes)
{
    return StartsWith(bytes, {0xEF, 0xBB, 0xBF}) || StartsWith(bytes, {0xFF, 0xFE}) ||
           StartsWith(bytes, {0xFE, 0xFF}) || StartsWith(bytes, {0x00, 0x00, 0xFE, 0xFF});
}

QString DecodeTextPreferringUtf8(const QByteArray &bytes)
{
    if (HasByteOrderMark(bytes))
        return DecodeText(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? DecodeText(bytes) : ReplaceLoneSurrogates(text);
}

QString ReplaceLoneSurrogates(QString text)
{
    if (text.isValidUtf16())
        return text;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
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

namespace {

constexpr int TemporarySuffixLength = 6;

// Texts of the write failure sentence and of its reasons.
constexpr int kTextFileCannotBeWritten = 1120;
constexpr int kTextDiskFull = 1121;
constexpr int kTextAccessDenied = 1122;
constexpr int kTextFolderMissing = 1123;
constexpr int kTextWriteProtected = 1124;
constexpr int kTextFolderHasName = 1125;
constexpr int kTextNotRegularFile = 1126;
constexpr int kTextFileTooLarge = 1127;
constexpr int kTextNameTooLong = 1128;
constexpr int kTextStandardOutputCannotBeWritten = 1129;

// The catalogue's words in the current language; English before a language is chosen (a
// write during start-up).
QString WriteFailureWords(int id)
{
    if (!GetTranslationManager().GetResourceId().isEmpty())
        return UiText(id);
    static const QMap<int, QString> english = [] {
        EnsureCoreResources();
        QFile file(QStringLiteral(":/catalogues/LOCALE_ENGLISH"));
        if (!file.open(QIODevice::ReadOnly))
            return QMap<int, QString>();
        return TTranslationManager::ParseCatalogue(QStringLiteral("LOCALE_ENGLISH"), file.readAll());
    }();
    return english.value(id);
}

[[noreturn]] void RaiseWriteError(const QString &path, const QString &reason)
{
    throw EInOutError(WriteFailureText(path, reason), reason);
}

[[noreturn]] void RaiseReadError(const QString &path, const QString &reason)
{
    throw EInOutError(QStringLiteral("Could not read the file ") + QDir::toNativeSeparators(path) +
                          QStringLiteral(": ") + reason,
                      reason);
}

// The file a path names after every link; a dangling link names the file it points to.
QString FollowLinks(const QString &path)
{
    QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    // Bounded: a loop of links never exists().
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info = QFileInfo(info.symLinkTarget());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

QString RandomSuffix()
{
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString suffix;
    for (int i = 0; i < TemporarySuffixLength; ++i)
        suffix += letters.at(QRandomGenerator::global()->bounded(static_cast<int>(letters.size())));
    return suffix;
}

bool IsTemporaryFileOf(const QString &name, const QString &targetName)
{
    const QString prefix = targetName + TSafeFileWriter::TemporaryMarker();
    return name.size() == prefix.size() + TemporarySuffixLength && name.startsWith(prefix);
}

// True when the temporary file open as fd is still the one the path names: a save's
// clean-up may remove a name between another save's open and its lock.
bool StillNamed(int fd, const QByteArray &path)
{
    struct stat opened = {};
    struct stat named = {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// A temporary file is left behind by a save that was interrupted (a crash, a kill, a power
// cut). One that a save is still writing is held under that save's lock, and on file
// systems where such locks are only emulated its age tells it apart: a live save writes
// its temporary file within seconds of renaming it.
bool IsAbandoned(int fd)
{
    constexpr time_t minimumAgeSeconds = 5 * 60;
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const time_t now = ::time(nullptr);
    if (info.st_mtime > now || now - info.st_mtime < minimumAgeSeconds)
        return false;
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

void RemoveStaleTemporaryFiles(const QString &target)
{
    const QFileInfo info(target);
    const QDir folder = info.absoluteDir();
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() || !IsTemporaryFileOf(entry.fileName(), info.fileName()))
            continue;
        const QByteArray path = QFile::encodeName(entry.filePath());
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        if (IsAbandoned(fd) && StillNamed(fd, path))
            (void)::unlink(path.constData());
        ::close(fd);
    }
}

} // namespace

TSafeFileWriter::TSafeFileWriter(const QString &path) : mPath(path), mTarget(FollowLinks(path)) {}

TSafeFileWriter::~TSafeFileWriter()
{
    Discard();
}

const QString &TSafeFileWriter::TemporaryMarker()
{
    static const QString marker = QStringLiteral(".velomyra-tmp-");
    return marker;
}

void TSafeFileWriter::Discard()
{
    if (mFd >= 0)
        ::close(std::exchange(mFd, -1));
    if (!mTemporary.isEmpty())
        (void)::unlink(QFile::encodeName(mTemporary).constData());
    mTemporary.clear();
    ReleaseLock();
}

void TSafeFileWriter::ReleaseLock()
{
    if (mLock >= 0)
        ::close(mLock);
    mLock = -1;
}

void TSafeFileWriter::Write(const QByteArray &bytes)
{
    Start();
    Append(bytes);
    Finish();
}

void TSafeFileWriter::Start()
{
    Discard();
    // A loop would otherwise end at one of its links, which the rename would replace.
    if (struct stat named = {}; ::stat(QFile::encodeName(mPath).constData(), &named) != 0 && errno == ELOOP)
        RaiseWriteError(mPath, QStringLiteral("the name is a symbolic link that leads round in a loop"));
    const QFileInfo target(mTarget);
    if (target.isDir())
        RaiseWriteError(mPath, WriteFailureWords(kTextFolderHasName));
    // Renaming over a device or a pipe would replace it (/dev/null among them).
    if (target.exists() && !target.isFile())
        RaiseWriteError(mPath, WriteFailureWords(kTextNotRegularFile));
    RemoveStaleTemporaryFiles(mTarget);

    // Plain system calls: each result says whether every byte got through, and errno why
    // not (the file class loses the reason of a write that stops part-way).
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        const QString name = mTarget + TemporaryMarker() + RandomSuffix();
        const QByteArray encoded = QFile::encodeName(name);
        fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if ((errno != EEXIST && errno != EINTR) || attempt >= 100)
                RaiseWriteError(mPath, SystemErrorReason(errno));
            continue;
        }
        // Held until the file is renamed or removed, so that another save's clean-up
        // leaves it alone. Where locks are not supported the file's age protects it.
        (void)::flock(fd, LOCK_EX);
        if (!StillNamed(fd, encoded)) {
            ::close(fd);
            fd = -1;
            if (attempt >= 100)
                RaiseWriteError(mPath, SystemErrorReason(ENOENT));
            continue;
        }
        mTemporary = name;
        // The lock lasts while one descriptor stays open; the one written is closed below,
        // where its result is checked.
        mLock = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (mLock < 0) {
            const int error = errno;
            ::close(fd);
            Discard();
            RaiseWriteError(mPath, SystemErrorReason(error));
        }
    }
    // The replacement keeps the access rights of the file it replaces.
    struct stat old = {};
    if (::stat(QFile::encodeName(mTarget).constData(), &old) == 0)
        (void)::fchmod(fd, old.st_mode & 0777);
    mFd = fd;
}

void TSafeFileWriter::Append(const QByteArray &bytes)
{
    if (mFd < 0)
        Start();
    int error = 0;
    qsizetype done = 0;
    while (error == 0 && done < bytes.size()) {
        const ssize_t written =
            ::write(mFd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (written > 0)
            done += written;
        else if (written == 0)
            error = EIO;
        else if (errno != EINTR)
            error = errno;
    }
    if (error != 0) {
        Discard();
        RaiseWriteError(mPath, SystemErrorReason(error));
    }
}

void TSafeFileWriter::Finish()
{
    if (mFd < 0 && mTemporary.isEmpty())
        Start();
    if (mFd < 0)
        return;
    const int fd = std::exchange(mFd, -1);
    int error = 0;
    // A full disk may show only when the data reaches it (network and some other file systems).
    if (::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    if (error != 0) {
        Discard();
        RaiseWriteError(mPath, SystemErrorReason(error));
    }
}

void TSafeFileWriter::Commit()
{
    if (mFd >= 0)
        Finish();
    if (mTemporary.isEmpty())
        throw MarnovelException(QStringLiteral("TSafeFileWriter.Commit: nothing written for ") + mPath);
    // rename() replaces the target in one step: readers see the old file or the new one.
    if (std::rename(QFile::encodeName(mTemporary).constData(), QFile::encodeName(mTarget).constData()) != 0) {
        const QString reason = SystemErrorReason(errno);
        Discard();
        RaiseWriteError(mPath, reason);
    }
    mTemporary.clear();
    ReleaseLock();
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    TSafeFileWriter writer(path);
    writer.Write(bytes);
    writer.Commit();
}

QString WriteFailureText(const QString &path, const QString &reason)
{
    return WriteFailureWords(kTextFileCannotBeWritten).arg(QDir::toNativeSeparators(path), reason);
}

QString StandardOutputFailureText(int systemError)
{
    return WriteFailureWords(kTextStandardOutputCannotBeWritten).arg(SystemErrorReason(systemError));
}

QString SystemErrorReason(int systemError)
{
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return WriteFailureWords(kTextDiskFull);
    case EACCES:
    case EPERM:
        return WriteFailureWords(kTextAccessDenied);
    case ENOENT:
    case ENOTDIR:
        return WriteFailureWords(kTextFolderMissing);
    case EROFS:
        return WriteFailureWords(kTextWriteProtected);
    case EISDIR:
        return WriteFailureWords(kTextFolderHasName);
    case EFBIG:
        return WriteFailureWords(kTextFileTooLarge);
    case ENAMETOOLONG:
        return WriteFailureWords(kTextNameTooLong);
    default:
        // Rare reasons the catalogue has no words for: the system's own, lower case to
        // follow the colon.
        QString text = qt_error_string(systemError);
        if (text.size() > 1 && text.at(0).isUpper() && text.at(1).isLower())
            text[0] = text.at(0).toLower();
        return text;
    }
}

namespace {

enum class TInputFileKind
{
    Regular,
    Missing,
    Folder,
    Special
};

TInputFileKind InputFileKind(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return TInputFileKind::Missing;
    if (info.isDir())
        return TInputFileKind::Folder;
    if (!info.isFile())
        return TInputFileKind::Special;
    return TInputFileKind::Regular;
}

} // namespace

QString InputFileProblem(const QString &path)
{
    switch (InputFileKind(path)) {
    case TInputFileKind::Missing:
        return QStringLiteral("the file does not exist.");
    case TInputFileKind::Folder:
        return QStringLiteral("this is a folder, not a file.");
    case TInputFileKind::Special:
        return QStringLiteral("this is not a regular file (a device, a pipe or a socket).");
    case TInputFileKind::Regular:
        break;
    }
    return QString();
}

int InputFileProblemTextId(const QString &path)
{
    switch (InputFileKind(path)) {
    case TInputFileKind::Missing:
        return TextFileDoesNotExist;
    case TInputFileKind::Folder:
        return TextFolderNotFile;
    case TInputFileKind::Special:
        return TextNotRegularFile;
    case TInputFileKind::Regular:
        break;
    }
    return 0;
}

QByteArray ReadWholeFile(const QString &path)
{
    if (const QString problem = InputFileProblem(path); !problem.isEmpty())
        RaiseReadError(path, problem);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        RaiseReadError(path, QStringLiteral("cannot be read: ") + file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        RaiseReadError(path, QStringLiteral("cannot be read: ") + file.errorString());
    return bytes;
}

bool IsSameFile(const QString &a, const QString &b)
{
    struct stat first = {};
    struct stat second = {};
    if (::stat(QFile::encodeName(a).constData(), &first) == 0 &&
        ::stat(QFile::encodeName(b).constData(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return FollowLinks(a) == FollowLinks(b);
}
