#include "Annotations.h"

#include "UiTextManager.h"

#include <array>

namespace {

constexpr std::array<TAnnotationInfo, 3> Footnoted{{
    {AT_INVALIDVALUE, u'#', 285, true},
    {AT_EXCEEDMAXVALUE, u'\u00B6', 286, true},
    {AT_POTENTIALTUBEMIXUP, u'*', 305, false},
}};

QString MarkOf(TAnnotationType type)
{
    return AnnotationMark(*FindAnnotation(type));
}

} // namespace

std::span<const TAnnotationInfo> FootnotedAnnotations()
{
    return Footnoted;
}

const TAnnotationInfo *FindAnnotation(TAnnotationType type)
{
    for (const TAnnotationInfo &annotation : Footnoted)
        if (annotation.Type == type)
            return &annotation;
    return nullptr;
}

QString AnnotationSign(const TAnnotationInfo &annotation)
{
    return QString(QChar(annotation.Sign));
}

QString AnnotationMark(const TAnnotationInfo &annotation)
{
    return QStringLiteral("<B>") + QChar(annotation.Sign) + QStringLiteral("</B>");
}

QString FootnoteLine(const TAnnotationInfo &annotation)
{
    return QChar(annotation.Sign) + QStringLiteral(" ") + UiText(annotation.FootnoteText);
}

QString InvalidValueMark()
{
    return MarkOf(AT_INVALIDVALUE);
}

QString ExceedMaxValueMark()
{
    return MarkOf(AT_EXCEEDMAXVALUE);
}

QString TubeMixupMark()
{
    return MarkOf(AT_POTENTIALTUBEMIXUP);
}
