// The format of the messages the program's exceptions carry.

#include "Tool.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

} // namespace

QString BuildExceptionMessage(const QString &where, const QString &parameters, const QString &reason)
{
    QString message = QStringLiteral("Exception occured in: ") + where + CrLf;
    if (!parameters.isEmpty())
        message += QStringLiteral("With parameters: ") + parameters + CrLf;
    message += QStringLiteral("Reason: ") + reason;
    return message;
}
