#pragma once

#include <QMap>

// The role of a text; decides its point size together with the character set.
enum FONTUSAGE : int
{
    CONTROL_DEFAULT,
    CONTROL_GROUPBOX,
    CONTROL_MAINHEADER,
    CONTROL_SECONDHEADER,
    CONTROL_ABOUTHEADER,
    CONTROL_IMPORTANT,
    CONTROL_EMAIL,
    CONTROL_LABEL_ELISA,
    PRINT_HEADER,
    PRINT_TEXTBIG,
    PRINT_INFO,
    PRINT_TEXTNORMAL,
    PRINT_TEXTSMALL,
    PRINT_TEXTSMALLHEADING,
    PRINT_DATA,
    PRINT_SUPERSCRIPT,
    FORMAT_ACTIVE,
    FORMAT_NORMAL,
    GRID_RAWDATA_ID,
    GRID_RAWDATA_NUMBER,
    GRID_RAWDATA_NS,
    GRID_STD,
    GRID_RESULT_HEADING,
    GRID_RESULT_DATA,
};

// Point sizes per character set (as returned by DetermineCharset) and text role.
class TFontManager
{
public:
    static constexpr int DEFAULT_CHARSET = 1;
    static constexpr int SHIFTJIS_CHARSET = 128;
    static constexpr int GREEK_CHARSET = 161;
    static constexpr int EASTEUROPE_CHARSET = 238;

    TFontManager();

    // Unknown character sets use the default table; a usage missing from it gives 8.
    int DetermineFontSize(int charset, FONTUSAGE usage) const;
    // Japanese glyphs need taller lines on printed pages.
    double DetermineLineHeightFactor(int charset) const;

private:
    QMap<int, QMap<FONTUSAGE, int>> mCharsetFontsize;
};

TFontManager &GetFontManager();

// Point size of a text role in the character set of the language in force.
int CurrentFontSize(FONTUSAGE usage);
