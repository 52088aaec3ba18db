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
