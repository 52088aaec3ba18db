#pragma once

#include "core/UiTextManager.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

// Runs the registered benchmarks in a throw-away home folder (never the real user's
// settings) with the English catalogue loaded. onHome gets that folder first.
inline int RunBenchmarksInTemporaryHome(int argc, char **argv,
                                        const std::function<void(const QString &)> &onHome = {})
{
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QByteArray homePath = home.path().toUtf8();
    qputenv("HOME", homePath);
    qputenv("XDG_CONFIG_HOME", homePath + "/.config");
    qputenv("XDG_DATA_HOME", homePath + "/.local/share");
    if (onHome)
        onHome(home.path());
    GetTranslationManager().LoadResource(QStringLiteral("LOCALE_ENGLISH"));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#if defined(QT_WIDGETS_LIB)

#include "core/Messages.h"

#include <QApplication>
#include <QWidget>

// The example run every window benchmark starts from: a full plate with an 8-point layout.
inline QString ExampleRunFile()
{
    return QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf");
}

// A window shown offscreen and laid out, as the operator first sees it.
inline void ShowLaidOut(QWidget &window)
{
    window.show();
    QCoreApplication::processEvents();
}

// The main() of a window benchmark: offscreen unless a platform is named, and the console
// presenter, which answers at once where a message box would wait for a click.
inline int RunWindowBenchmarks(int argc, char **argv, const std::function<void(const QString &)> &onHome = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    SetPresenter(nullptr);
    return RunBenchmarksInTemporaryHome(argc, argv, onHome);
}

#endif
