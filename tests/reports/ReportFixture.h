#pragma once

#include "files/RunSession.h"
#include "plate/CellColl.h"
#include "reports/SessionReportSource.h"
#include "run/MarnovelRdData.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

// The example run (80 subjects, 8-point curve) loaded and calculated, as a report source
// with plain pictures for page 3.
class ExampleReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.LoadRun(QStringLiteral(VELOMYRA_SOURCE_DIR "/examples/run-8point.vdf")).Ok());
        ASSERT_TRUE(session.Calculate().Ok());
        chart = QImage(600, 400, QImage::Format_RGB32);
        chart.fill(Qt::white);
        plate = QImage(640, 300, QImage::Format_RGB32);
        plate.fill(Qt::white);
        source = std::make_unique<TSessionReportSource>(
            session, [this] { return chart; }, [this] { return plate; });
    }
    int Subjects() const { return session.Data().RawData().GetCount(); }

    TRunSession session;
    QImage chart;
    QImage plate;
    std::unique_ptr<TSessionReportSource> source;
};
