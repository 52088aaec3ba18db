// Printing through a real print server: a private scheduler on a socket in a temporary folder,
// with queues whose jobs land in files, and queues that refuse, stop or turn jobs away.
#include "ui/print/PrintScreen.h"

#include "core/UiTextManager.h"
#include "files/RunSession.h"
#include "platform/ModalDialogs.h"
#include "reports/PrintManager.h"
#include "reports/SessionReportSource.h"
#include "support/GuiApplication.h"
#include "support/ReportRun.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cups/cups.h>

#include <memory>
#include <ostream>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

using namespace Qt::StringLiterals;
using TestSupport::Presenter;

namespace {

constexpr int kTextPrinterRefusesJobs = 1130;
constexpr int kTextPrinterStopped = 1131;
constexpr int kTextPrinterDidNotTakeJob = 1132;

// The scheduler of one test program. It runs in the foreground as this process's child and
// dies with it, so that no scheduler outlives the tests, however they end.
class TPrintServer
{
public:
    TPrintServer()
    {
        if (!mFolder.isValid())
            return;
        const QDir root(mFolder.path());
        for (const QString &folder :
             {u"spool"_s, u"cache"_s, u"state"_s, u"log"_s, u"tmp"_s, u"out"_s, u"bin/backend"_s})
            root.mkpath(folder);
        // The scheduler's helper that starts backends, and a backend that writes each job into
        // the file its device names.
        QFile::link(u"/usr/lib/cups/daemon"_s, root.filePath(u"bin/daemon"_s));
        WriteText(root.filePath(u"bin/backend/capture"_s),
                  "#!/bin/sh\n"
                  "[ $# -eq 0 ] && { echo 'file capture \"Unknown\" \"Job capture\"'; exit 0; }\n"
                  "out=${DEVICE_URI#capture:}\n"
                  "if [ -n \"$6\" ]; then cat \"$6\" > \"$out\"; else cat > \"$out\"; fi\n");
        // Only its owner may run a backend that the scheduler starts as the administrator.
        QFile::setPermissions(root.filePath(u"bin/backend/capture"_s),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        WriteText(root.filePath(u"cupsd.conf"_s), "Listen " + Socket().toUtf8() +
                                                      "\nLogLevel warn\nBrowsing No\n"
                                                      "DefaultAuthType None\n"
                                                      "<Location />\n  Order allow,deny\n  Allow all\n"
                                                      "</Location>\n"
                                                      "<Policy default>\n  <Limit All>\n"
                                                      "    Order deny,allow\n  </Limit>\n</Policy>\n");
        QByteArray files = "FileDevice Yes\n";
        for (const auto &[key, folder] : {std::pair{"ServerRoot", ""},
                                          {"RequestRoot", "/spool"},
                                          {"CacheDir", "/cache"},
                                          {"StateDir", "/state"},
                                          {"TempDir", "/tmp"},
                                          {"ServerBin", "/bin"}})
            files += QByteArray(key) + ' ' + mFolder.path().toUtf8() + folder + '\n';
        for (const char *log : {"ErrorLog", "AccessLog", "PageLog"})
            files +=
                QByteArray(log) + ' ' + mFolder.path().toUtf8() + "/log/" + QByteArray(log).toLower() + '\n';
        if (geteuid() != 0) {
            // Without administrator rights the scheduler and its backends run as this user.
            if (const passwd *user = getpwuid(geteuid()))
                files += QByteArray("User ") + user->pw_name + '\n';
            if (const group *group = getgrgid(getegid()))
                files += QByteArray("Group ") + group->gr_name + '\n';
        }
        WriteText(root.filePath(u"cups-files.conf"_s), files);

        mScheduler.setProgram(u"/usr/sbin/cupsd"_s);
        mScheduler.setArguments(
            {u"-f"_s, u"-c"_s, root.filePath(u"cupsd.conf"_s), u"-s"_s, root.filePath(u"cups-files.conf"_s)});
        mScheduler.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        mScheduler.start();
        if (!mScheduler.waitForStarted(5000))
            return;
        mRunning = QTest::qWaitFor([this] { return Command(u"lpstat"_s, {u"-r"_s}); }, 10000);
    }
    ~TPrintServer()
    {
        if (mScheduler.state() == QProcess::NotRunning)
            return;
        mScheduler.terminate();
        if (!mScheduler.waitForFinished(5000)) {
            mScheduler.kill();
            mScheduler.waitForFinished(5000);
        }
    }
    TPrintServer(const TPrintServer &) = delete;
    TPrintServer &operator=(const TPrintServer &) = delete;

    bool Running() const { return mRunning; }
    QString Socket() const { return mFolder.filePath(u"cups.sock"_s); }
    QString Log() const
    {
        QFile log(mFolder.filePath(u"log/errorlog"_s));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }
    // Where the jobs of a queue made by AddQueue arrive.
    QString JobFile(const QString &queue) const { return mFolder.filePath(u"out/"_s + queue + u".prn"_s); }

    // A queue that passes its jobs on unchanged; extra lpadmin options as given.
    bool AddQueue(const QString &queue, const QStringList &options = {})
    {
        return Command(u"lpadmin"_s,
                       QStringList{u"-p"_s, queue, u"-E"_s, u"-v"_s, u"capture:"_s + JobFile(queue)} +
                           options);
    }
    // Runs a client command of the print server (lpadmin, cupsreject, ...) against this one.
    bool Command(const QString &program, const QStringList &arguments)
    {
        QProcess client;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"CUPS_SERVER"_s, Socket());
        client.setProcessEnvironment(environment);
        client.start(program, arguments);
        return client.waitForFinished(10000) && client.exitStatus() == QProcess::NormalExit &&
               client.exitCode() == 0;
    }

private:
    static void WriteText(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    }

    // A short path: a socket's name holds about a hundred characters.
    QTemporaryDir mFolder{u"/tmp/velomyra-cups-XXXXXX"_s};
    QProcess mScheduler;
    bool mRunning = false;
};

// The print window on a calculated run of three subjects (ID 12, ID 13, ID 14); every job
// goes to the server's default printer, as in the program.
class CupsPrintingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (const char *variable : {"PRINTER", "LPDEST"})
            qunsetenv(variable);
        server = std::make_unique<TPrintServer>();
        // This process asks the private server too.
        qputenv("CUPS_SERVER", server->Socket().toUtf8());
        cupsSetServer(server->Socket().toUtf8().constData());
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(server->Running()) << "the print server did not start:\n" << server->Log().toStdString();
        ASSERT_TRUE(folder.isValid());
        SetModalRunner([](QDialog &dialog) {
            dialog.show();
            return int(QDialog::Accepted);
        });
        ASSERT_TRUE(session.LoadRun(TestSupport::WriteReportRun(folder.path(), 3)).Ok());
        ASSERT_TRUE(session.Calculate().Ok());
        source = std::make_unique<TSessionReportSource>(session);
        window = std::make_unique<TScreenPrintFormCombinedTorvinTandem>();
        window->ShowPrintWindow(*source, TScreenPrintFormCombinedTorvinTandem::DefaultGapMm, true);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        SetReportPrinterFactory([this] {
            ++printersMade;
            return DefaultReportPrinter();
        });
        Presenter().Clear();
    }
    void TearDown() override
    {
        window.reset();
        SetModalRunner({});
        SetReportPrinterFactory({});
    }

    // Prints the chosen report kind on queue, made the server's default printer.
    void PrintOn(const QString &queue, const QString &reportKind)
    {
        ASSERT_TRUE(server->Command(u"lpadmin"_s, {u"-d"_s, queue}));
        QTest::mouseClick(window->findChild<QRadioButton *>(reportKind), Qt::LeftButton);
        QTest::mouseClick(window->findChild<QPushButton *>(u"printPb"_s), Qt::LeftButton);
    }
    static bool JobArrived(const QString &file)
    {
        return QTest::qWaitFor(
            [&] {
                QFile job(file);
                return job.open(QIODevice::ReadOnly) && job.read(5) == "%PDF-" && job.size() > 1000;
            },
            20000);
    }

    static std::unique_ptr<TPrintServer> server;
    QTemporaryDir folder;
    TRunSession session;
    std::unique_ptr<TSessionReportSource> source;
    std::unique_ptr<TScreenPrintFormCombinedTorvinTandem> window;
    int printersMade = 0;
};

std::unique_ptr<TPrintServer> CupsPrintingTest::server;

TEST_F(CupsPrintingTest, AcceptingQueue_JobArrivesWithoutMessage)
{
    ASSERT_TRUE(server->AddQueue(u"accepting"_s));
    PrintOn(u"accepting"_s, u"assayRb"_s);
    EXPECT_TRUE(Presenter().Texts().isEmpty()) << Presenter().Texts().join(u'|').toStdString();
    EXPECT_EQ(printersMade, 1);
    EXPECT_TRUE(JobArrived(server->JobFile(u"accepting"_s)));
}

TEST_F(CupsPrintingTest, RefusingOrStoppedQueue_ReasonShownAndIndividualPrintingEnds)
{
    const struct
    {
        QString queue;
        QString command; // refuses or stops the queue with a reason of its administrator
        int text;
    } cases[] = {
        {u"rejecting"_s, u"cupsreject"_s, kTextPrinterRefusesJobs},
        {u"stopped"_s, u"cupsdisable"_s, kTextPrinterStopped},
    };
    for (const auto &c : cases) {
        Presenter().Clear();
        printersMade = 0;
        ASSERT_TRUE(server->AddQueue(c.queue));
        ASSERT_TRUE(server->Command(c.command, {u"-r"_s, u"Out of paper"_s, c.queue}));
        PrintOn(c.queue, u"allSubjRb"_s);
        EXPECT_EQ(Presenter().Texts(), QStringList{UiText(c.text).arg(c.queue) + u" Out of paper"_s})
            << c.queue.toStdString();
        EXPECT_EQ(printersMade, 1) << "the other subjects are not printed";
        EXPECT_FALSE(QFile::exists(server->JobFile(c.queue)));
        EXPECT_EQ(window->findChild<QPushButton *>(u"printPb"_s)->text(), UiText(102));
        EXPECT_FALSE(GetPrintManager().PrinterPrintingGet());
    }
}

TEST_F(CupsPrintingTest, JobTurnedAwayByTheServer_ItsReasonShownAndIndividualPrintingEnds)
{
    // A quota of one kilobyte: the first report uses it up, the second is turned away when it
    // is handed over, though the printer takes jobs.
    ASSERT_TRUE(
        server->AddQueue(u"quota"_s, {u"-o"_s, u"job-quota-period=3600"_s, u"-o"_s, u"job-k-limit=1"_s}));
    PrintOn(u"quota"_s, u"allSubjRb"_s);
    EXPECT_EQ(printersMade, 2);
    const QString expectedStart = UiText(kTextPrinterDidNotTakeJob).arg(u"quota"_s, QString());
    ASSERT_EQ(Presenter().Texts().size(), 1) << Presenter().Texts().join(u'|').toStdString();
    const QString message = Presenter().Texts().front();
    EXPECT_TRUE(message.startsWith(expectedStart) && message.size() > expectedStart.size())
        << message.toStdString();
    EXPECT_TRUE(JobArrived(server->JobFile(u"quota"_s))) << "the first report was printed";
}

} // namespace
