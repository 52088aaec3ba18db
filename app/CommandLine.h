#pragma once

#include <QByteArray>
#include <QList>
#include <QMessageLogContext>
#include <QString>
#include <QStringList>

#include <mutex>

// The program's own command line, read before the toolkit starts: asking for the usage or the
// version, or for reports, needs no display.
enum class TProgramRequest
{
    Window,  // the desktop program, with an optional run file and the window-handle hook
    Report,  // "report ...": PDF reports without a window
    Help,    // --help, -h: the usage text
    Version, // --version: the version line
};

// arguments: those after the program's name, as given (toolkit options included).
TProgramRequest ProgramRequestOf(const QStringList &arguments);

QString ProgramUsageText();
// "velomyra 5.3.0 Build 08"
QString ProgramVersionLine();

// Exit status when the windows cannot be shown for want of a display.
constexpr int ExitNoDisplay = 2;
// "Velomyra needs a display to show its windows. ..."; in English, as the program starts.
constexpr int TextNeedsDisplay = 1103;
QString NeedsDisplayText();

// While alive, the toolkit's start is watched: where it cannot open its platform (no display,
// a display that does not answer, no platform plugin), the program ends with one line naming
// the tools that need none and exit status ExitNoDisplay, instead of the toolkit's abort and
// its advice to reinstall. Other messages of the start are held and passed on when it ends.
class TDisplayStartGuard
{
public:
    explicit TDisplayStartGuard(QString noDisplayLine);
    ~TDisplayStartGuard();
    TDisplayStartGuard(const TDisplayStartGuard &) = delete;
    TDisplayStartGuard &operator=(const TDisplayStartGuard &) = delete;

private:
    struct THeldMessage
    {
        QtMsgType type;
        QByteArray file;
        int line;
        QByteArray function;
        QByteArray category;
        QString text;
    };
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &text);

    QString mNoDisplayLine;
    QtMessageHandler mPrevious;
    std::mutex mHeldLock;
    QList<THeldMessage> mHeld;
};
