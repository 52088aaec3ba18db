#include "CommandLine.h"

#include "core/SoftwareInfoManager.h"
#include "core/ToolConsole.h"
#include "core/UiTextManager.h"

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

TDisplayStartGuard *gWatching = nullptr;

} // namespace

TProgramRequest ProgramRequestOf(const QStringList &arguments)
{
    if (!arguments.isEmpty() && arguments.first() == u"report")
        return TProgramRequest::Report;
    if (arguments.contains(u"--help"_s) || arguments.contains(u"-h"_s))
        return TProgramRequest::Help;
    if (arguments.contains(u"--version"_s))
        return TProgramRequest::Version;
    return TProgramRequest::Window;
}

QString ProgramUsageText()
{
    return uR"(Usage:
  velomyra [WriteControlsToFile=FILE] [RUN.vdf]
  velomyra report RUN.vdf --pdf FILE [--subject ID] [--curve-page] [--language CODE]
  velomyra report RUN.vdf --individual DIR [--curve-page] [--language CODE]
  velomyra --help | --version

Starts the desktop program, which needs a display, in English.
  RUN.vdf                   a run data file, opened at start as Load File opens it
  WriteControlsToFile=FILE  as the first argument: every window writes the names and
                            window ids of its controls to FILE (name=value lines), for
                            automation tools
  report ...                writes the PDF reports of a run without a window or a display;
                            'velomyra report --help' explains it
  --help                    this text
  --version                 the version

Without a display, 'velomyra-cli calc RUN.vdf' calculates a run ('velomyra-cli --help').

Exit status:
  0  the main window was closed; --help, --version
  1  the program could not start (the reason was shown)
  2  no display to show the windows on; standard output cannot be written
)"_s;
}

QString ProgramVersionLine()
{
    const TSoftwareInfoManager &info = GetSoftwareInfoManager();
    return u"velomyra "_s + info.GetVersNumberStr() + u' ' + info.GetBuildNo();
}

QString NeedsDisplayText()
{
    // A catalogue of its own: the program's catalogue is loaded later, at its step of the start.
    TTranslationManager catalogue;
    catalogue.LoadResource(u"LOCALE_ENGLISH"_s);
    return catalogue.GetUiText(TextNeedsDisplay);
}

TDisplayStartGuard::TDisplayStartGuard(QString noDisplayLine) : mNoDisplayLine(std::move(noDisplayLine))
{
    gWatching = this;
    mPrevious = qInstallMessageHandler(&TDisplayStartGuard::Handle);
}

TDisplayStartGuard::~TDisplayStartGuard()
{
    qInstallMessageHandler(mPrevious);
    gWatching = nullptr;
    const std::lock_guard lock(mHeldLock);
    for (const THeldMessage &message : std::as_const(mHeld)) {
        const QMessageLogContext context(message.file.isNull() ? nullptr : message.file.constData(),
                                         message.line,
                                         message.function.isNull() ? nullptr : message.function.constData(),
                                         message.category.isNull() ? nullptr : message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
}

void TDisplayStartGuard::Handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    TDisplayStartGuard *guard = gWatching;
    if (!guard)
        return;
    // The only fatal message of the toolkit's start: its platform could not be opened. The
    // messages that led to it are the toolkit's own words for the same; they are dropped.
    if (type == QtFatalMsg) {
        WriteToolError(u"velomyra"_s, guard->mNoDisplayLine);
        std::_Exit(ExitNoDisplay);
    }
    const std::lock_guard lock(guard->mHeldLock);
    guard->mHeld.append({type, QByteArray(context.file), context.line, QByteArray(context.function),
                         QByteArray(context.category), text});
}
