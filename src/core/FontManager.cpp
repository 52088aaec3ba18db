#include "FontManager.h"

#include "UiTextManager.h"

#include <array>

namespace {

// Sizes in FONTUSAGE order.
constexpr std::array<int, 24> kTableA{10, 8, 36, 22, 17, 12, 20, 10, 18, 12, 11, 10,
                                      8,  8, 8,  6,  12, 11, 10, 11, 9,  10, 10, 10};
constexpr std::array<int, 24> kTableB{9, 9,  36, 22, 17, 12, 20, 10, 20, 13, 12, 11,
                                      9, 10, 9,  6,  13, 11, 10, 11, 9,  10, 11, 10};

QMap<FONTUSAGE, int> MakeTable(const std::array<int, 24> &sizes)
{
    QMap<FONTUSAGE, int> table;
    for (int usage = 0; usage < static_cast<int>(sizes.size()); ++usage)
        table.insert(static_cast<FONTUSAGE>(usage), sizes[static_cast<size_t>(usage)]);
    return table;
}

constexpr int kFallbackSize = 8;

} // namespace

TFontManager::TFontManager()
{
    const QMap<FONTUSAGE, int> tableA = MakeTable(kTableA);
    const QMap<FONTUSAGE, int> tableB = MakeTable(kTableB);
    mCharsetFontsize.insert(DEFAULT_CHARSET, tableA);
    mCharsetFontsize.insert(GREEK_CHARSET, tableA);
    mCharsetFontsize.insert(EASTEUROPE_CHARSET, tableB);
    mCharsetFontsize.insert(SHIFTJIS_CHARSET, tableB);
}

int TFontManager::DetermineFontSize(int charset, FONTUSAGE usage) const
{
    auto table = mCharsetFontsize.constFind(charset);
    if (table == mCharsetFontsize.constEnd())
        table = mCharsetFontsize.constFind(DEFAULT_CHARSET);
    return table->value(usage, kFallbackSize);
}

double TFontManager::DetermineLineHeightFactor(int charset) const
{
    return charset == SHIFTJIS_CHARSET ? 1.2 : 1.0;
}

TFontManager &GetFontManager()
{
    static TFontManager manager;
    return manager;
}

int CurrentFontSize(FONTUSAGE usage)
{
    return GetFontManager().DetermineFontSize(GetTranslationManager().DetermineCharset(), usage);
}
