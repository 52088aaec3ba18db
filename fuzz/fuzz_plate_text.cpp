// Pasted plate text: any text is stored, refused with a reason, or refused with the
// program's own exception; copying to a grid then works or is refused cleanly. A token
// that reads as a number is stored as that number, a not-specified marker as the marker.
#include "FuzzSupport.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "core/Tool.h"
#include "core/UiTextManager.h"
#include "plate/TextGrid.h"
#include "run/MarnovelRdData.h"

#include <QMimeData>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void CheckStoredTokens(const TMarnovelRdData &run, const QString &text)
{
    const QStringList lines = SplitLines(text);
    for (int j = 0; j < lines.size() && j < TMarnovelData::DataRows; ++j) {
        const QStringList tokens = lines.at(j).split(PlateTextSeparator);
        for (int i = 0; i < tokens.size() && i < TMarnovelData::DataCols; ++i) {
            const QString stored = run.PlateText(i, j);
            double value = 0.0;
            if (TryTextToFloat(tokens.at(i), value)) {
                double back = 0.0;
                if (!TryTextToFloat(stored, back) ||
                    std::fabs(back - value) > 0.0005 + 1e-9 * std::fabs(value))
                    std::abort();
            } else if (IsNotSpecifiedText(tokens.at(i)) && stored != UiText(64)) {
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzSupport::Initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    TMarnovelRdData run;
    QMimeData mime;
    mime.setText(DecodeText(bytes));
    try {
        const TPlateTextProblem problem = run.ParseDataObject(&mime);
        // A number too large to round refuses the text where it stands: what follows is not stored.
        if (problem != TPlateTextProblem::UnroundableNumber)
            CheckStoredTokens(run, mime.text());
        if (problem == TPlateTextProblem::None) {
            TTextGrid grid;
            run.copyDataToStringgrid(grid);
            run.HasNegativeODValues();
        }
    } catch (const MarnovelException &) {
    }
    return 0;
}
