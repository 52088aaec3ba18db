#pragma once

#include <QString>

class QPrinter;

// What the print server makes of the report jobs. The printer's own engine hands a finished
// document to the server without saying whether it was taken, so the server is asked: before
// the job whether the printer takes jobs at all, after it whether it took this one. A printer
// that writes a file has no server to ask; every answer is then empty.
class TPrintJobCheck
{
public:
    explicit TPrintJobCheck(const QPrinter &printer);

    // Why the printer will not print a job now (it refuses jobs or is stopped), in the
    // current language; empty when it will.
    QString BeforeJob() const;
    // After the printer's document was ended: why the server did not take the job or will not
    // print it; empty when it took it.
    QString AfterJob() const;

private:
    QString mQueue; // the server's name of the printer, without an instance; empty: no server
};
