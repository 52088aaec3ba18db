#include "PrintScreen.h"

TScreenPrintFormCombinedTorvinTandem::TScreenPrintFormCombinedTorvinTandem(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ScreenPrintFormCombinedTorvinTandem"));
}
