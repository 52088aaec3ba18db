// Run data and format files: any bytes either load completely or fail cleanly and leave
// the run as it was; a run that loaded saves and loads again.
#include "FuzzSupport.h"

#include "core/Exceptions.h"
#include "files/BlockIO.h"
#include "files/CombinedFileHandler.h"
#include "plate/CellBlock.h"
#include "plate/CellColl.h"
#include "run/MarnovelRdData.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QString gFolder;

void WriteInput(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
}

// A load that fails must not have touched the run.
void CheckUnchanged(const TMarnovelRdData &run, int standardBlocks, int subjectBlocks, TCurveType curve)
{
    if (run.StdBlocks().GetCount() != standardBlocks || run.RawData().GetCount() != subjectBlocks ||
        run.GetCurveType() != curve)
        std::abort();
}

void LoadBoth(const QString &input, bool withData)
{
    OWCellBlockBase::Reset();
    TMarnovelRdData run;
    TCombinedFileHandler handler;
    handler.SetRunData(&run);
    TSystemInfo info;
    handler.SetSystemInfo(&info);
    const TCurveType curveBefore = run.GetCurveType();
    TFileLoadResult result = FL_OK;
    try {
        result = withData ? handler.LoadDataAndFormat(input) : handler.LoadFormat(input);
    } catch (const MarnovelException &) {
        CheckUnchanged(run, 0, 0, curveBefore);
        return;
    }
    if (result != FL_OK) {
        CheckUnchanged(run, 0, 0, curveBefore);
        return;
    }
    // What loaded must save and load again.
    const QString copy = gFolder + (withData ? QStringLiteral("/copy.vdf") : QStringLiteral("/copy.vff"));
    try {
        if (withData)
            handler.SaveDataAndFormat(copy);
        else
            handler.SaveFormat(copy);
    } catch (const MarnovelException &) {
        // The run date is kept as a date, so whatever loaded can be written back.
        std::abort();
    }
    const int standards = run.StdBlocks().GetCount();
    const int subjects = run.RawData().GetCount();
    TMarnovelRdData again;
    handler.SetRunData(&again);
    TSystemInfo infoAgain;
    handler.SetSystemInfo(&infoAgain);
    if ((withData ? handler.LoadDataAndFormat(copy) : handler.LoadFormat(copy)) != FL_OK)
        std::abort();
    if (again.StdBlocks().GetCount() != standards || again.RawData().GetCount() != subjects)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::Initialise();
    static QTemporaryDir folder;
    gFolder = folder.path();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = gFolder + QStringLiteral("/input.vdf");
    WriteInput(input, data, size);
    LoadBoth(input, true);
    LoadBoth(input, false);
    return 0;
}
