#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File, folder and text-file helpers.

QString FileNameWithoutExtension(const QString &name);
QString ExtensionWithoutDot(const QString &name);
// A file name, or the start of one, made from data (an identifier, a run number, an
// operator): every path separator, drive colon, character that common file systems refuse
// (* ? " < > |), control or invisible formatting character (bidirectional overrides among
// them) becomes "_", and so do a leading dot and every dot of "..". The result is cut to
// MaxFileNamePartBytes bytes of UTF-8, leaving room for a suffix, an extension and the safe
// writer's temporary name within the file system's 255 bytes. Ordinary identifiers
// ("ID 12a") stay as they are.
QString SafeFileNamePart(const QString &text);
inline constexpr int MaxFileNamePartBytes = 120;
// folder + SafeFileNamePart(name) + suffix ("a".."y", "aa".."yy", ...) + "." + ext: the first
// that does not exist. EInOutError when none is free or the name would not lie in folder.
QString UniqueFileName(const QString &folder, const QString &name, const QString &ext);
// path + "." + ext when path's file name has no dot ("run" -> "run.vdf"), else path.
QString WithDefaultExtension(const QString &path, const QString &ext);
// Section-and-key lookup over the lines of a file (letter case ignored).
QString GetSectionValue(const QStringList &lines, const QString &section, const QString &key,
                        const QString &defaultValue);
bool IsEnterKey(int key);

// Text of a file or resource: the encoding named by its byte-order mark (UTF-8, UTF-16 LE/BE,
// UTF-32 LE/BE), Windows-1252 without one. The mark itself is not part of the text, and
// neither is a lone surrogate (ReplaceLoneSurrogates).
QString DecodeText(const QByteArray &bytes);
// The bytes begin with one of the byte-order marks DecodeText knows.
bool HasByteOrderMark(const QByteArray &bytes);
// Text from a source that may name no encoding (a plate reader's file, the clipboard): as
// DecodeText with a byte-order mark; without one, UTF-8 when the bytes are valid UTF-8.
QString DecodeTextPreferringUtf8(const QByteArray &bytes);
// Every surrogate that is not half of a pair becomes U+FFFD: such a text cannot be written
// as UTF-8 or JSON.
QString ReplaceLoneSurrogates(QString text);
// Lines ended by CR LF, LF or CR; a final line end adds no empty line.
QStringList SplitLines(const QString &text);

// The one way this program writes a file. Write puts the bytes into a temporary file in
// the target's folder, named after the target ("run.vdf.velomyra-tmp-XXXXXX"), and checks
// that every byte reached it: the write, flush, sync and close results. Commit then
// renames it over the target (a link is followed to the file it names). On any failure
// the target is untouched, the temporary file is removed and EInOutError carries the
// reason: its message is WriteFailureText, its Reason the reason phrase alone. A temporary
// file is held under an advisory lock until it is renamed or removed; temporary files of the
// same target that no writer holds and that were last written minutes ago (left by an
// interrupted save) are removed by the next Write, so that saves running at once leave each
// other's alone.
//
// Writing several files as one save: Write all of them, then Commit all, so that a full
// disk changes none of the targets.
class TSafeFileWriter
{
public:
    explicit TSafeFileWriter(const QString &path);
    ~TSafeFileWriter(); // removes a temporary file that was not committed
    TSafeFileWriter(const TSafeFileWriter &) = delete;
    TSafeFileWriter &operator=(const TSafeFileWriter &) = delete;

    void Write(const QByteArray &bytes);
    // Writing in pieces, for an output too large to hold at once: the first Append starts the
    // temporary file, each adds to it with every byte checked, and Finish (or Commit) checks
    // the sync and close as Write does.
    void Append(const QByteArray &bytes);
    void Finish();
    void Commit();
    const QString &Path() const { return mPath; }

    // What follows the target's name in the name of its temporary files.
    static const QString &TemporaryMarker();

private:
    void Start();
    void Discard();
    void ReleaseLock();

    QString mPath;      // as given, for messages
    QString mTarget;    // links resolved
    QString mTemporary; // written and not yet committed
    int mLock = -1;     // open while mTemporary is, holding its lock
    int mFd = -1;       // the temporary file, open between Start and Finish
};

// Write and Commit of one file.
void WriteFileAtomically(const QString &path, const QByteArray &bytes);

// The one sentence every write failure is shown as: the file's name and why, in the current
// language ("The file "/x/run.vdf" cannot be written: the disk is full.").
QString WriteFailureText(const QString &path, const QString &reason);
// Why a system call failed (errno), as a phrase to follow a colon: the catalogue's words for
// the usual reasons (full disk, no access, no folder, ...), the system's own text otherwise.
QString SystemErrorReason(int systemError);
// The same for standard output, which has no file name.
QString StandardOutputFailureText(int systemError);

// Why path cannot be read as a file ("the file does not exist.", a folder, a device, pipe
// or socket that could block or never end); empty for a regular file. Links are followed.
QString InputFileProblem(const QString &path);
// The catalogue text that says the same in the operator's language, for windows; 0 for a
// regular file.
constexpr int TextFileDoesNotExist = 1100; // "The file does not exist."
constexpr int TextFolderNotFile = 1101;    // "This is a folder, not a file."
constexpr int TextNotRegularFile = 1102;   // "This is not a regular file (a device, a pipe or a socket)."
int InputFileProblemTextId(const QString &path);
// Whole file; EInOutError when it cannot be read, with the reason alone ("cannot be read: "
// + the system's reason, or the InputFileProblem).
QByteArray ReadWholeFile(const QString &path);
// True when both paths name the same file once links are resolved (for files that exist:
// the same device and inode, so hard links count too). A path that does not exist yet is
// compared by its folder's resolved path and its name.
bool IsSameFile(const QString &a, const QString &b);
