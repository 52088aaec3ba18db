#include "PrintJobCheck.h"

#include "core/UiTextManager.h"

#include <QPrinter>

#include <cups/cups.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTextPrinterRefusesJobs = 1130;
constexpr int kTextPrinterStopped = 1131;
constexpr int kTextPrinterDidNotTakeJob = 1132;

struct TPrinterStatus
{
    bool Known = false;
    bool Accepting = true;
    bool Stopped = false;
    QString Message; // what the printer's administrator or driver said, as given
};

TPrinterStatus QueryPrinter(const QString &queue)
{
    TPrinterStatus status;
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", 0, "/printers/%s",
                     queue.toUtf8().constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const attributes[] = {"printer-is-accepting-jobs", "printer-state",
                                             "printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(attributes)), nullptr, attributes);
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    if (response && cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        status.Known = true;
        if (ipp_attribute_t *accepting =
                ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
            status.Accepting = ippGetBoolean(accepting, 0) != 0;
        if (ipp_attribute_t *state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM))
            status.Stopped = ippGetInteger(state, 0) == IPP_PSTATE_STOPPED;
        if (ipp_attribute_t *message = ippFindAttribute(response, "printer-state-message", IPP_TAG_TEXT))
            status.Message = QString::fromUtf8(ippGetString(message, 0, nullptr)).trimmed();
    }
    ippDelete(response);
    return status;
}

QString Refusal(const QString &queue, const TPrinterStatus &status)
{
    QString text;
    if (!status.Accepting)
        text = UiText(kTextPrinterRefusesJobs).arg(queue);
    else if (status.Stopped)
        text = UiText(kTextPrinterStopped).arg(queue);
    if (!text.isEmpty() && !status.Message.isEmpty())
        text += u' ' + status.Message;
    return text;
}

} // namespace

TPrintJobCheck::TPrintJobCheck(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty())
        mQueue = printer.printerName().section(u'/', 0, 0);
}

QString TPrintJobCheck::BeforeJob() const
{
    if (mQueue.isEmpty())
        return QString();
    // Also leaves the server's last answer in this thread a fresh one, so that AfterJob never
    // reads an older request's error.
    return Refusal(mQueue, QueryPrinter(mQueue));
}

QString TPrintJobCheck::AfterJob() const
{
    if (mQueue.isEmpty())
        return QString();
    // The engine's last request was the job's: its answer is the job's outcome.
    const ipp_status_t answer = cupsLastError();
    if (answer == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return Refusal(mQueue, {true, false, false, QueryPrinter(mQueue).Message});
    if (answer > IPP_STATUS_OK_EVENTS_COMPLETE)
        return UiText(kTextPrinterDidNotTakeJob).arg(mQueue, QString::fromUtf8(cupsLastErrorString()));
    // Taken; a printer stopped meanwhile keeps it waiting.
    return Refusal(mQueue, QueryPrinter(mQueue));
}
