// Pasted plate text: any text is stored, refused with a message, or refused with the
// program's own exception; copying to a grid then works or is refused cleanly.
#include "FuzzSupport.h"

#include "core/Exceptions.h"
#include "core/MarnovelUtils.h"
#include "plate/TextGrid.h"
#include "run/MarnovelRdData.h"

#include <QMimeData>

#include <cstddef>
#include <cstdint>

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
        if (run.loadDataObject(&mime)) {
            TTextGrid grid;
            run.copyDataToStringgrid(grid);
            run.HasNegativeODValues();
        }
    } catch (const MarnovelException &) {
    }
    return 0;
}
