#pragma once

#include "core/Exceptions.h"
#include "core/Tool.h"

#include <QString>

#include <cmath>

// Raises EMathError (the data cannot be calculated, text 185 for the user) when a value of
// the calculation is not finite: "<what> cannot be calculated". The description is built
// only when the check fails: this runs for every well.
template <typename Describe> void CheckFinite(double value, const QString &where, Describe &&what)
{
    if (!std::isfinite(value))
        throw EMathError(
            BuildExceptionMessage(where, QString(), what() + QStringLiteral(" cannot be calculated")));
}
