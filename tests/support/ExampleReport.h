#pragma once

#include "files/RunSession.h"
#include "plate/CellColl.h"
#include "reports/SessionReportSource.h"
#include "run/MarnovelRdData.h"

#include <QImage>

#include <memory>

// The example run (80 subjects, 8-point curve) loaded and calculated, as a report source
// with plain white pictures for page 3. Shared by the report tests and the benchmark.
struct TExampleReport
{
    TExampleReport() = default;
    TExampleReport(const TExampleReport &) = delete;
    TExampleReport &operator=(const TExampleReport &) = delete;

    // False when the example run cannot be loaded or calculated; source is then empty.
    bool Load()
    {
        if (!session.LoadRun(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")).Ok() ||
            !session.Calculate().Ok())
            return false;
        chart = QImage(600, 400, QImage::Format_RGB32);
        chart.fill(Qt::white);
        plate = QImage(640, 300, QImage::Format_RGB32);
        plate.fill(Qt::white);
        source = std::make_unique<TSessionReportSource>(
            session, [this] { return chart; }, [this] { return plate; });
        return true;
    }
    int Subjects() const { return session.Data().RawData().GetCount(); }

    TRunSession session;
    QImage chart;
    QImage plate;
    std::unique_ptr<TSessionReportSource> source;
};
