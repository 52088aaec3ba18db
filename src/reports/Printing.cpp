#include "Printing.h"

int DrawRunReport(QPaintDevice &, const IReportSource &, bool, QPrinter *, bool, int, int)
{
    return 0;
}
