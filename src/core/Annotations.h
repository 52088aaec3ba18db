#pragma once

#include <QString>

#include <span>

// The annotations a result can carry: the sign shown beside it, its mark inside result
// texts and the footnote that explains it. The calculation, the exports, the results view
// and the report pages all read them here.

// Indexes of a block's annotation flags.
enum TAnnotationType : int
{
    AT_INVALIDVALUE = 0,
    AT_DILUTEDSAMPLEUSED = 1,
    AT_EXCEEDMAXVALUE = 2,
    AT_POTENTIALTUBEMIXUP = 3
};

struct TAnnotationInfo
{
    TAnnotationType Type;
    char16_t Sign;
    int FootnoteText; // catalogue id
    // The results export ends the footnote with CR LF; the tube-mixup warning closes the
    // text without one.
    bool ExportLineEnd;
};

// The annotations that have a sign and a footnote, in footnote order: "#", "¶", "*".
std::span<const TAnnotationInfo> FootnotedAnnotations();
// The entry of a type; nullptr for a type without a sign.
const TAnnotationInfo *FindAnnotation(TAnnotationType type);

QString AnnotationSign(const TAnnotationInfo &annotation);
// The sign between bold tags, as result texts carry it: "<B>#</B>".
QString AnnotationMark(const TAnnotationInfo &annotation);
// The sign, a blank and the footnote text in the current language.
QString FootnoteLine(const TAnnotationInfo &annotation);

QString InvalidValueMark();   // "<B>#</B>"
QString ExceedMaxValueMark(); // "<B>¶</B>"
QString TubeMixupMark();      // "<B>*</B>"
