#include "core/FontManager.h"

#include <gtest/gtest.h>

namespace {

TEST(FontManager, DetermineFontSize_CharsetAndUsage_GivesTableSize)
{
    struct Case
    {
        int charset;
        FONTUSAGE usage;
        int expected;
    };
    const Case cases[] = {
        {238, PRINT_HEADER, 20},           {161, PRINT_HEADER, 18},        {1, PRINT_HEADER, 18},
        {128, PRINT_HEADER, 20},           {204, CONTROL_DEFAULT, 10},     {128, CONTROL_DEFAULT, 9},
        {1, CONTROL_GROUPBOX, 8},          {238, CONTROL_GROUPBOX, 9},     {1, CONTROL_MAINHEADER, 36},
        {1, PRINT_SUPERSCRIPT, 6},         {238, FORMAT_ACTIVE, 13},       {161, GRID_RAWDATA_NS, 9},
        {1, GRID_RESULT_DATA, 10},         {128, GRID_RESULT_HEADING, 11}, {0, PRINT_TEXTSMALLHEADING, 8},
        {238, PRINT_TEXTSMALLHEADING, 10},
    };
    const TFontManager &fonts = GetFontManager();
    for (const Case &c : cases)
        EXPECT_EQ(fonts.DetermineFontSize(c.charset, c.usage), c.expected) << c.charset << " / " << c.usage;
}

TEST(FontManager, DetermineFontSize_UsageOutsideTable_GivesEight)
{
    const TFontManager &fonts = GetFontManager();
    EXPECT_EQ(fonts.DetermineFontSize(1, static_cast<FONTUSAGE>(24)), 8);
    EXPECT_EQ(fonts.DetermineFontSize(238, static_cast<FONTUSAGE>(-1)), 8);
}

TEST(FontManager, DetermineLineHeightFactor_OnlyShiftJisIsTaller)
{
    const TFontManager &fonts = GetFontManager();
    EXPECT_DOUBLE_EQ(fonts.DetermineLineHeightFactor(128), 1.2);
    for (const int charset : {1, 161, 238, 204})
        EXPECT_DOUBLE_EQ(fonts.DetermineLineHeightFactor(charset), 1.0) << charset;
}

} // namespace
