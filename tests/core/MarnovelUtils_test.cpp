#include "core/Exceptions.h"
#include "core/MarnovelConfigManager.h"
#include "core/MarnovelUtils.h"
#include "core/UiTextManager.h"
#include "support/LanguageGuard.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString Q(const char *text)
{
    return QString::fromUtf8(text);
}

QByteArray Bytes(std::initializer_list<unsigned char> bytes)
{
    QByteArray result;
    for (const unsigned char b : bytes)
        result.append(static_cast<char>(b));
    return result;
}

void Touch(const QString &path, const QByteArray &content = QByteArray())
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

QByteArray Content(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

TEST(FileNames, Names_SplitAtTheLastDotOfTheLastElement)
{
    const struct
    {
        const char *name, *withoutExtension, *extension;
    } cases[] = {
        {"a.txt", "a", "txt"},
        {"a.b.vdf", "a.b", "vdf"},
        {"dir.x/file", "dir.x/file", ""},
        {"file.", "file", ""},
        {"noext", "noext", ""},
        {"/home/u/31May17_5.vdf", "/home/u/31May17_5", "vdf"},
        {"dir.x\\file", "dir.x\\file", ""},
        {"", "", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FileNameWithoutExtension(Q(c.name)), Q(c.withoutExtension)) << c.name;
        EXPECT_EQ(ExtensionWithoutDot(Q(c.name)), Q(c.extension)) << c.name;
    }
}

TEST(EnsureDirectory, MissingNestedFolder_IsCreated)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/a/b/c");
    EXPECT_TRUE(EnsureDirectory(path, true));
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_TRUE(EnsureDirectory(path, true));
}

TEST(EnsureDirectory, FolderBlockedByFile_FailsOrRaisesText203)
{
    QTemporaryDir dir;
    Touch(dir.path() + Q("/file"));
    const QString path = dir.path() + Q("/file/sub");
    EXPECT_FALSE(EnsureDirectory(path, false));
    try {
        EnsureDirectory(path, true);
        FAIL();
    } catch (const MarnovelException &e) {
        EXPECT_EQ(e.Message(), Q("Could not create ") + path);
    }
    EXPECT_FALSE(EnsureDirectory(Q(""), false));
}

TEST(UniqueFileName, EmptyFolder_FirstCandidateCarriesSuffixA)
{
    QTemporaryDir dir;
    Touch(dir.path() + Q("/R.txt"));
    EXPECT_EQ(UniqueFileName(dir.path(), Q("R"), Q("txt")), dir.path() + Q("/Ra.txt"));
    EXPECT_EQ(UniqueFileName(dir.path() + Q("/"), Q("R"), Q("txt")), dir.path() + Q("/Ra.txt"));
}

TEST(UniqueFileName, RaToRyTaken_ReturnsRaa)
{
    QTemporaryDir dir;
    for (char c = 'a'; c <= 'y'; ++c)
        Touch(dir.path() + Q("/R") + QLatin1Char(c) + Q(".txt"));
    EXPECT_EQ(UniqueFileName(dir.path(), Q("R"), Q("txt")), dir.path() + Q("/Raa.txt"));
    Touch(dir.path() + Q("/Raa.txt"));
    EXPECT_EQ(UniqueFileName(dir.path(), Q("R"), Q("txt")), dir.path() + Q("/Rbb.txt"));
}

TEST(UniqueFileName, FolderOrDanglingLinkWithTheName_CountsAsTaken)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("Ra.vff")));
    ASSERT_TRUE(QFile::link(dir.path() + Q("/missing"), dir.path() + Q("/Rb.vff")));
    EXPECT_EQ(UniqueFileName(dir.path(), Q("R"), Q("vff")), dir.path() + Q("/Rc.vff"));
}

TEST(UniqueFileName, EveryCandidateTaken_RaisesInsteadOfLooping)
{
    QTemporaryDir dir;
    // Far beyond any real use; the search still has to end.
    for (int repeat = 1; repeat <= 40; ++repeat)
        for (char c = 'a'; c <= 'y'; ++c)
            Touch(dir.path() + Q("/R") + QString(repeat, QLatin1Char(c)) + Q(".txt"));
    EXPECT_THROW((void)UniqueFileName(dir.path(), Q("R"), Q("txt")), EInOutError);
}

TEST(SafeFileNamePart, NamesFromData_OrdinaryKeptHostileMadeHarmless)
{
    const QString fifteen = Q("../../../../../");
    const struct
    {
        const char *name;
        QString text, expected;
    } cases[] = {
        {"ordinary identifier", Q("ID 12a"), Q("ID 12a")},
        {"letters of any script", Q("Παπα-Müller_😀 €1.5"), Q("Παπα-Müller_😀 €1.5")},
        {"climbing out", Q("../../../pwn"), Q("_________pwn")},
        {"15 of ../", fifteen, QString(15, u'_')},
        {"15 slashes", QString(15, u'/'), QString(15, u'_')},
        {"15 backslashes", QString(15, u'\\'), QString(15, u'_')},
        {"15 colons", QString(15, u':'), QString(15, u'_')},
        {"15 dots", QString(15, u'.'), QString(15, u'_')},
        {"15 controls", QString(15, QChar(0x01)), QString(15, u'_')},
        {"leading dot", Q(".profile"), Q("_profile")},
        {"dot inside", Q("a.b"), Q("a.b")},
        {"two dots inside", Q("a..b"), Q("a__b")},
        {"refused elsewhere", Q("a*b?c\"d<e>f|g"), Q("a_b_c_d_e_f_g")},
        {"controls", Q("a\tb\nc\x7f") + QChar(0x85) + Q("d"), Q("a_b_c__d")},
        {"bidirectional and invisible",
         Q("ID") + QChar(0x202E) + Q("fdp") + QChar(0x2066) + QChar(0x200B) + QChar(0xFEFF) + QChar(0x2028),
         Q("ID_fdp____")},
        {"lone surrogates", Q("a") + QChar(0xD800) + Q("b") + QChar(0xDC00), Q("a_b_")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SafeFileNamePart(c.text), c.expected) << c.name;
}

TEST(SafeFileNamePart, LongText_CutToTheByteBoundWithoutSplittingACharacter)
{
    const struct
    {
        const char *name;
        QString text;
        int characters; // kept
    } cases[] = {
        {"1.5 MB", QString(1500000, u'A'), MaxFileNamePartBytes},
        {"three-byte characters", QString(1000, QChar(0x20AC)), MaxFileNamePartBytes / 3},
        {"one short of a four-byte character", QString(MaxFileNamePartBytes - 1, u'a') + Q("😀"),
         MaxFileNamePartBytes - 1},
    };
    for (const auto &c : cases) {
        const QString safe = SafeFileNamePart(c.text);
        EXPECT_EQ(safe, c.text.left(c.characters)) << c.name;
        EXPECT_LE(safe.toUtf8().size(), MaxFileNamePartBytes) << c.name;
    }
    EXPECT_EQ(SafeFileNamePart(Q("😀").repeated(100)), Q("😀").repeated(MaxFileNamePartBytes / 4));
}

TEST(UniqueFileName, NamesFromData_AlwaysAWritableFileInTheFolder)
{
    QTemporaryDir parent;
    const QString dir = parent.path() + Q("/pdf");
    ASSERT_TRUE(QDir().mkpath(dir));
    const QStringList names{Q("../../../pwn"),
                            Q("../../../../../"),
                            QString(15, u'/'),
                            QString(15, u'\\'),
                            QString(15, u':'),
                            QString(15, u'.'),
                            QString(15, QChar(0x1B)),
                            Q(".."),
                            Q("."),
                            QString(),
                            Q("a") + QChar(0x202E) + Q("b"),
                            QString(1500000, u'Z'),
                            QString(1500000, u'/')};
    for (const QString &name : names) {
        const QString path = UniqueFileName(dir, Q("08Dec26_") + name, Q("pdf"));
        EXPECT_EQ(QFileInfo(path).absolutePath(), dir) << path.left(100).toStdString();
        EXPECT_NO_THROW(WriteFileAtomically(path, "%PDF")) << path.left(100).toStdString();
    }
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden).size(), names.size());
    EXPECT_EQ(QDir(parent.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{Q("pdf")});
}

TEST(WithDefaultExtension, AddedOnlyToANameWithoutADot)
{
    EXPECT_EQ(WithDefaultExtension(Q("/runs/noext"), Q("vdf")), Q("/runs/noext.vdf"));
    EXPECT_EQ(WithDefaultExtension(Q("/runs.d/noext"), Q("vdf")), Q("/runs.d/noext.vdf"));
    EXPECT_EQ(WithDefaultExtension(Q("/runs/plate 7.x"), Q("vdf")), Q("/runs/plate 7.x"));
    EXPECT_EQ(WithDefaultExtension(Q("/runs/r.vdf"), Q("vdf")), Q("/runs/r.vdf"));
    EXPECT_EQ(WithDefaultExtension(Q("/runs/"), Q("vdf")), Q("/runs/"));
}

TEST(GetSectionValue, Lookups_FollowSectionAndKeyRules)
{
    const QStringList lines = {
        Q("[GeneralInfo]"),
        Q("CurveType=1"),
        Q("RunNumber=a=b"),
        Q(""),
        Q("Operator="),
        Q("[Cell0]"),
        Q("Point0=4|2|1|0.512"),
        Q("BlockType=0"),
        Q(""),
        Q("[Cell1]"),
        Q("x"),
        Q(""),
        Q("BlockType=2"),
        Q("blocktype=3"),
    };
    const struct
    {
        const char *section, *key, *expected;
    } cases[] = {
        {"GeneralInfo", "CurveType", "1"},
        {"generalinfo", "CURVETYPE", "1"},
        {"GeneralInfo", "RunNumber", "a=b"},
        {"GeneralInfo", "Operator", ""},
        {"GeneralInfo", "BlockType", "default"},
        {"Cell0", "Point0", "4|2|1|0.512"},
        {"Cell1", "BlockType", "2"},
        {"Cell2", "BlockType", "default"},
        {"Cell1", "x", "default"},
        {"Cell1", "", "default"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(GetSectionValue(lines, Q(c.section), Q(c.key), Q("default")), Q(c.expected))
            << c.section << "/" << c.key;
    EXPECT_EQ(GetSectionValue({}, Q("A"), Q("B"), Q("d")), Q("d"));
}

TEST(IsEnterKey, Codes_OnlyEnterCounts)
{
    EXPECT_TRUE(IsEnterKey(13));
    EXPECT_TRUE(IsEnterKey(Qt::Key_Return));
    EXPECT_TRUE(IsEnterKey(Qt::Key_Enter));
    EXPECT_FALSE(IsEnterKey(10));
    EXPECT_FALSE(IsEnterKey(Qt::Key_Escape));
}

TEST(DecodeText, ByteOrderMarks_SelectEncodingAndAreDropped)
{
    const struct
    {
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {Bytes({0xEF, 0xBB, 0xBF, 'a', 0xC3, 0xA9}), Q("aé")},
        {Bytes({0xFF, 0xFE, 'A', 0x00, 0xAC, 0x20}), Q("A€")},
        {Bytes({0xFE, 0xFF, 0x00, 'A', 0x20, 0xAC}), Q("A€")},
        {Bytes({0xFF, 0xFE, 0x00, 0x00, 'A', 0, 0, 0, 0x00, 0xF6, 0x01, 0x00}), Q("A😀")},
        {Bytes({0x00, 0x00, 0xFE, 0xFF, 0, 0, 0, 'A', 0x00, 0x01, 0xF6, 0x00}), Q("A😀")},
        {Bytes({0xFF, 0xFE}), Q("")},
        {QByteArray(), Q("")},
        {Bytes({'a', 0x80, 0x93, 0x94, 0x9F, 0xE9, 0x81, 0xA0}), Q("a€“”Ÿé") + QChar(0x81) + QChar(0xA0)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DecodeText(c.bytes), c.expected) << c.bytes.toHex().toStdString();
}

TEST(DecodeText, TruncatedOrInvalidUnicode_DecodesWithReplacementCharacters)
{
    const QChar replacement(QChar::ReplacementCharacter);
    const QString oddUtf16 = DecodeText(Bytes({0xFF, 0xFE, 'A', 0x00, 'B'}));
    EXPECT_TRUE(oddUtf16.startsWith(Q("A")));
    const QString expected = Q("") + replacement + replacement + Q("A") + replacement;
    EXPECT_EQ(DecodeText(Bytes({0xFF, 0xFE, 0x00, 0x00, 0x00, 0x00, 0x11, 0x00, 0x00, 0xD8, 0x00, 0x00, 'A',
                                0, 0, 0, 'B'})),
              expected);
    EXPECT_EQ(DecodeText(Bytes({0x00, 0x00, 0xFE, 0xFF, 0x00, 0x11, 0x00, 0x00, 0, 0, 0, 'A'})),
              replacement + Q("A"));
    EXPECT_EQ(DecodeText(Bytes({0xEF, 0xBB, 0xBF, 'a', 0xC3})), Q("a") + replacement);
}

TEST(SplitLines, LineEnds_SplitWithoutFinalEmptyLine)
{
    const struct
    {
        const char *text;
        QStringList expected;
    } cases[] = {
        {"", {}},
        {"a", {Q("a")}},
        {"a\r\nb\nc\rd", {Q("a"), Q("b"), Q("c"), Q("d")}},
        {"a\r\n", {Q("a")}},
        {"a\n\n", {Q("a"), Q("")}},
        {"\r\n", {Q("")}},
        {"a\r\r\nb", {Q("a"), Q(""), Q("b")}},
        {"a\tb\r\n\r\nc", {Q("a\tb"), Q(""), Q("c")}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitLines(Q(c.text)), c.expected) << c.text;
}

TEST(WriteFileAtomically, NewAndExistingFile_HoldExactlyTheBytes)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/run.vdf");
    WriteFileAtomically(path, QByteArray("first, longer content"));
    EXPECT_EQ(Content(path), QByteArray("first, longer content"));
    WriteFileAtomically(path, QByteArray("second"));
    EXPECT_EQ(Content(path), QByteArray("second"));
    EXPECT_EQ(ReadWholeFile(path), QByteArray("second"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({Q("run.vdf")}));
}

TEST(WriteFileAtomically, TargetIsFolder_RaisesAndKeepsTheFolder)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/target");
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("target")));
    Touch(path + Q("/inside"), "keep");
    try {
        WriteFileAtomically(path, QByteArray("x"));
        FAIL();
    } catch (const EInOutError &e) {
        EXPECT_TRUE(e.Message().contains(path)) << e.what();
    }
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(Content(path + Q("/inside")), QByteArray("keep"));
}

TEST(WriteFileAtomically, FolderMissingOrAFile_Raises)
{
    QTemporaryDir dir;
    Touch(dir.path() + Q("/plain"));
    for (const QString &path : QStringList{dir.path() + Q("/missing/x.txt"), dir.path() + Q("/plain/x.txt")})
        EXPECT_THROW(WriteFileAtomically(path, QByteArray("x")), EInOutError) << path.toStdString();
}

// Runs the write as an ordinary user: the superuser ignores folder permissions, so then a
// child process drops to the unprivileged "nobody" account first. No answer when that is
// not allowed here.
std::optional<bool> WriteRaisesInOutError(const QString &path, const QByteArray &bytes)
{
    const auto attempt = [&] {
        try {
            WriteFileAtomically(path, bytes);
        } catch (const EInOutError &e) {
            return e.Message().contains(path);
        }
        return false;
    };
    if (geteuid() != 0)
        return attempt();
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        _exit(dropped ? (attempt() ? 0 : 1) : 2);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return false;
    if (WEXITSTATUS(status) == 2)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

TEST(WriteFileAtomically, ReadOnlyFolder_RaisesAndKeepsOldFile)
{
    QTemporaryDir dir(QDir::tempPath() + Q("/velomyra-readonly-XXXXXX"));
    const QString path = dir.path() + Q("/old.vdf");
    Touch(path, "old content");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
    QFile::setPermissions(dir.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    const std::optional<bool> raised = WriteRaisesInOutError(path, QByteArray("new"));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!raised)
        GTEST_SKIP() << "could not drop to an unprivileged user";
    EXPECT_TRUE(*raised);
    EXPECT_EQ(Content(path), QByteArray("old content"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({Q("old.vdf")}));
}

TEST(ReadWholeFile, MissingFileFolderOrPipe_RaisesNamingThePathAtOnce)
{
    QTemporaryDir dir;
    const QString pipe = dir.path() + Q("/pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &path : QStringList{dir.path() + Q("/missing.vdf"), dir.path(), pipe}) {
        try {
            (void)ReadWholeFile(path);
            FAIL() << path.toStdString();
        } catch (const EInOutError &e) {
            EXPECT_TRUE(e.Message().contains(path)) << e.what();
            EXPECT_EQ(e.Reason(), InputFileProblem(path)) << e.what();
        }
    }
}

TEST(InputFileProblem, KindsOfPath_SayWhatIsWrong)
{
    QTemporaryDir dir;
    const QString file = dir.path() + Q("/plate.txt");
    Touch(file);
    const QString pipe = dir.path() + Q("/pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(file, dir.path() + Q("/link")));
    ASSERT_TRUE(QFile::link(dir.path() + Q("/gone"), dir.path() + Q("/dangling")));
    const struct
    {
        QString path;
        const char *problem;
    } cases[] = {
        {file, ""},
        {dir.path() + Q("/link"), ""},
        {dir.path() + Q("/missing"), "the file does not exist."},
        {dir.path() + Q("/dangling"), "the file does not exist."},
        {dir.path(), "this is a folder, not a file."},
        {pipe, "this is not a regular file (a device, a pipe or a socket)."},
        {Q("/dev/null"), "this is not a regular file (a device, a pipe or a socket)."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(InputFileProblem(c.path), Q(c.problem)) << c.path.toStdString();
}

TEST(IsSameFile, PathsAfterLinks_ComparedAsFiles)
{
    QTemporaryDir dir;
    const QString file = dir.path() + Q("/run.vdf");
    Touch(file, "run");
    Touch(dir.path() + Q("/other.vdf"), "run");
    ASSERT_TRUE(QFile::link(file, dir.path() + Q("/link.vdf")));
    ASSERT_EQ(
        link(QFile::encodeName(file).constData(), QFile::encodeName(dir.path() + Q("/hard.vdf")).constData()),
        0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("sub")));
    ASSERT_TRUE(QFile::link(dir.path() + Q("/sub"), dir.path() + Q("/sublink")));
    ASSERT_TRUE(QFile::link(dir.path() + Q("/new.txt"), dir.path() + Q("/to-new")));
    const struct
    {
        QString a, b;
        bool same;
    } cases[] = {
        {file, file, true},
        {file, dir.path() + Q("/sub/../run.vdf"), true},
        {file, dir.path() + Q("/link.vdf"), true},
        {file, dir.path() + Q("/hard.vdf"), true},
        {file, dir.path() + Q("/other.vdf"), false},
        {dir.path() + Q("/sub/new.txt"), dir.path() + Q("/sublink/new.txt"), true},
        {dir.path() + Q("/new.txt"), dir.path() + Q("/to-new"), true},
        {dir.path() + Q("/new.txt"), dir.path() + Q("/sub/new.txt"), false},
        {file, dir.path() + Q("/new.txt"), false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(IsSameFile(c.a, c.b), c.same) << c.a.toStdString() << " " << c.b.toStdString();
        EXPECT_EQ(IsSameFile(c.b, c.a), c.same) << c.b.toStdString() << " " << c.a.toStdString();
    }
}

namespace {

QStringList FolderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

const QRegularExpression TemporaryName(Q("^run\\.vdf\\.velomyra-tmp-[A-Za-z0-9]{6}$"));

} // namespace

TEST(TSafeFileWriter, WrittenNotCommitted_TemporaryBesideTheUntouchedTargetThenRemoved)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/run.vdf");
    Touch(path, "old");
    {
        TSafeFileWriter writer(path);
        writer.Write("new content");
        const QStringList entries = FolderEntries(dir.path());
        ASSERT_EQ(entries.size(), 2) << entries.join(u' ').toStdString();
        EXPECT_TRUE(TemporaryName.match(entries.at(1)).hasMatch()) << entries.at(1).toStdString();
        EXPECT_EQ(Content(path), QByteArray("old"));
    }
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")}));
    EXPECT_EQ(Content(path), QByteArray("old"));

    TSafeFileWriter writer(path);
    writer.Write("new content");
    writer.Commit();
    EXPECT_EQ(Content(path), QByteArray("new content"));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")}));
}

TEST(TSafeFileWriter, AppendedInPieces_TargetUntouchedUntilCommitThenHoldsEveryPiece)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/run.vdf");
    Touch(path, "old");
    {
        TSafeFileWriter dropped(path);
        dropped.Append("never");
    }
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")}));

    TSafeFileWriter writer(path);
    writer.Append("first,");
    writer.Append(QByteArray());
    writer.Append("second");
    EXPECT_EQ(Content(path), QByteArray("old"));
    writer.Commit();
    EXPECT_EQ(Content(path), QByteArray("first,second"));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")}));
}

namespace {

// A file last written an hour ago, as a save interrupted then leaves it.
void MakeOld(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
}

} // namespace

TEST(TSafeFileWriter, StaleTemporaryFilesOfTheTarget_RemovedByTheNextSave)
{
    QTemporaryDir dir;
    const QStringList stale{Q("run.vdf.velomyra-tmp-AbC123"), Q("run.vdf.velomyra-tmp-000000")};
    const QStringList kept{Q("other.vdf.velomyra-tmp-AbC123"), Q("run.vdf.velomyra-tmp-AbC12"),
                           Q("run.vdf.velomyra-tmp-AbC1234"), Q("run.vdf.AbC123"),
                           Q("xrun.vdf.velomyra-tmp-AbC123")};
    for (const QString &name : stale + kept) {
        Touch(dir.path() + u'/' + name, "left behind");
        MakeOld(dir.path() + u'/' + name);
    }
    // Written a moment ago: a save on a file system without locks may still be writing it.
    Touch(dir.path() + Q("/run.vdf.velomyra-tmp-Recent"), "being written");
    WriteFileAtomically(dir.path() + Q("/run.vdf"), "new");
    QStringList expected = kept;
    expected << Q("run.vdf") << Q("run.vdf.velomyra-tmp-Recent");
    expected.sort();
    EXPECT_EQ(FolderEntries(dir.path()), expected);
}

// Two saves of one target at once (two processes, or two windows): the second's clean-up
// must not remove the first's temporary file, however old, while the first holds it.
TEST(TSafeFileWriter, AnotherSaveOfTheTargetMeanwhile_LeavesTheLiveTemporaryFileAlone)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/run.vdf");
    TSafeFileWriter first(path);
    first.Write("first");
    const QStringList entries = FolderEntries(dir.path());
    ASSERT_EQ(entries.size(), 1);
    MakeOld(dir.path() + u'/' + entries.first());

    WriteFileAtomically(path, "second");
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf"), entries.first()}));
    first.Commit();
    EXPECT_EQ(Content(path), QByteArray("first"));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")}));
}

// A folder created in the target's place after the write: the rename fails, and the save
// says so instead of reporting a file that was never written.
TEST(TSafeFileWriter, FolderInTheTargetsPlaceBeforeCommit_RaisesAndLeavesNoTemporaryFile)
{
    QTemporaryDir dir;
    const QString path = dir.path() + Q("/run.vdf");
    TSafeFileWriter writer(path);
    writer.Write("content");
    ASSERT_TRUE(QDir(dir.path()).mkdir(Q("run.vdf")));
    Touch(path + Q("/inside"), "keep");
    try {
        writer.Commit();
        FAIL() << "a failed rename was taken for a save";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Reason(), SystemErrorReason(EISDIR)) << e.what();
        EXPECT_TRUE(e.Message().contains(path)) << e.what();
    }
    EXPECT_EQ(FolderEntries(dir.path()), QStringList());
    EXPECT_EQ(Content(path + Q("/inside")), QByteArray("keep"));
}

TEST(WriteFileAtomically, LoopOfLinks_RaisesAndKeepsTheLinks)
{
    QTemporaryDir dir;
    const QString a = dir.path() + Q("/a.vdf");
    const QString b = dir.path() + Q("/b.vdf");
    ASSERT_TRUE(QFile::link(b, a));
    ASSERT_TRUE(QFile::link(a, b));
    for (const QString &path : QStringList{a, dir.path() + Q("/a.vdf/run.vdf")}) {
        try {
            WriteFileAtomically(path, "x");
            FAIL() << path.toStdString();
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Reason(), Q("the name is a symbolic link that leads round in a loop"));
        }
    }
    EXPECT_EQ(QFileInfo(a).symLinkTarget(), b);
    EXPECT_EQ(QFileInfo(b).symLinkTarget(), a);
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("a.vdf"), Q("b.vdf")}));
}

TEST(WriteFileAtomically, ThroughALink_ReplacesTheFileItNamesAndKeepsItsAccessRights)
{
    QTemporaryDir dir;
    const QString file = dir.path() + Q("/run.vdf");
    Touch(file, "old");
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::link(file, dir.path() + Q("/link.vdf")));
    WriteFileAtomically(dir.path() + Q("/link.vdf"), "new");
    EXPECT_TRUE(QFileInfo(dir.path() + Q("/link.vdf")).isSymLink());
    EXPECT_EQ(Content(file), QByteArray("new"));
    struct stat info = {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// One sentence naming the file and the reason, in the current language where the catalogue
// has the words for the reason, the system's own words otherwise.
TEST(WriteFailureText, NamesTheFileAndTheReasonInTheCurrentLanguage)
{
    const struct
    {
        int error;
        const char *english;
    } reasons[] = {
        {ENOSPC, "the disk is full"},           {EDQUOT, "the disk is full"},
        {EACCES, "access is denied"},           {EPERM, "access is denied"},
        {ENOENT, "the folder does not exist"},  {ENOTDIR, "the folder does not exist"},
        {EROFS, "the disk is write-protected"}, {EISDIR, "a folder has that name"},
        {EFBIG, "the file is too large"},       {ENAMETOOLONG, "the name is too long"},
    };
    for (const auto &r : reasons)
        EXPECT_EQ(SystemErrorReason(r.error), Q(r.english)) << r.error;
    EXPECT_EQ(WriteFailureText(Q("/x/run.vdf"), SystemErrorReason(ENOSPC)),
              Q("The file \"/x/run.vdf\" cannot be written: the disk is full."));
    // A reason without catalogue words: the system's, starting lower case after the colon.
    const QString system = SystemErrorReason(EIO);
    EXPECT_FALSE(system.isEmpty());
    EXPECT_EQ(system.front(), system.front().toLower());

    const TestSupport::LanguageGuard german(Q("LOCALE_GERMAN"));
    EXPECT_EQ(WriteFailureText(Q("/x/run.vdf"), SystemErrorReason(ENOSPC)),
              Q("Die Datei „/x/run.vdf“ kann nicht geschrieben werden: der Datenträger ist voll."));
}

// The write failure and printer texts exist, translated, in every language.
TEST(WriteFailureText, AddedTextsInEveryLanguage)
{
    for (int id = 1120; id <= 1133; ++id) {
        QStringList texts;
        for (int language = 0; language < 8; ++language) {
            const TestSupport::LanguageGuard guard(language);
            EXPECT_NO_THROW(texts.append(UiText(id))) << language << " " << id;
        }
        texts.removeDuplicates();
        // The technical words ("PDF") may agree; the sentences differ in every language.
        EXPECT_GE(texts.size(), id == 1133 ? 7 : 8) << id;
    }
}

TEST(WriteFileAtomically, TargetIsAPipe_RaisesAndKeepsThePipe)
{
    QTemporaryDir dir;
    const QString pipe = dir.path() + Q("/pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    try {
        WriteFileAtomically(pipe, "x");
        FAIL();
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Reason(), Q("it is a device, a pipe or a socket, not a regular file"));
        EXPECT_EQ(e.Message(), Q("The file \"") + pipe + Q("\" cannot be written: ") + e.Reason() + Q("."));
    }
    struct stat info = {};
    ASSERT_EQ(stat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("pipe")}));
}

// A full disk, provoked with a file size limit in a child process: the write fails, the old
// file keeps every byte, no temporary file remains, and the reason is the system's. Small
// contents stay in the write buffer until the flush; large ones fail in the write itself.
TEST(WriteFileAtomically, FileSizeLimitReached_OldFileUntouchedAndReasonGiven)
{
    for (const qsizetype size : {qsizetype(100), qsizetype(200000)}) {
        QTemporaryDir dir;
        const QString path = dir.path() + Q("/run.vdf");
        const QByteArray old("old content, complete");
        Touch(path, old);
        const QString expectedReason = Q("the file is too large");
        const pid_t child = fork();
        if (child == 0) {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64, 64};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(4);
            try {
                WriteFileAtomically(path, QByteArray(size, 'x'));
            } catch (const EInOutError &e) {
                _exit(e.Reason() == expectedReason && e.Message().contains(path) ? 0 : 3);
            }
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << size;
        EXPECT_EQ(WEXITSTATUS(status), 0) << size << " (1: no error raised, 3: wrong reason)";
        EXPECT_EQ(Content(path), old) << size;
        EXPECT_EQ(FolderEntries(dir.path()), QStringList({Q("run.vdf")})) << size;
    }
}
