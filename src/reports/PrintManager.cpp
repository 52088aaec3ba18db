#include "PrintManager.h"

#include "core/Exceptions.h"
#include "core/Tool.h"

int TPrintManager::PageEndGetItem(int pIndex) const
{
    if (pIndex < 0 || pIndex >= fPageEnd.size())
        throw ERangeError(BuildExceptionMessage(QStringLiteral("TPrintManager.PageEndGetItem"),
                                                QStringLiteral("pIndex=") + QString::number(pIndex),
                                                QStringLiteral("Index out of range")));
    return fPageEnd.at(pIndex);
}

TPrintManager &GetPrintManager()
{
    static TPrintManager manager;
    return manager;
}
