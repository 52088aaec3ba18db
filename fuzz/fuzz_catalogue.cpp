// Catalogue parser: any bytes either parse or raise the program's own exception.
#include "FuzzSupport.h"

#include "core/Exceptions.h"
#include "core/UiTextManager.h"

#include <QByteArray>

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
    try {
        TTranslationManager::ParseCatalogue(QStringLiteral("LOCALE_FUZZ"), bytes);
        TTranslationManager::ParseCatalogue(QStringLiteral("TOOLTIP"), bytes, QLatin1Char('&'));
    } catch (const MarnovelException &) {
    }
    return 0;
}
