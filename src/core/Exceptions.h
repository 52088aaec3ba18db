#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

// Common base of every error the program raises itself. The message is the
// operator-readable text (often built by BuildExceptionMessage).
class MarnovelException : public std::exception
{
public:
    explicit MarnovelException(QString message) : mMessage(std::move(message)), mUtf8(mMessage.toUtf8()) {}
    // An error in what a file holds or in how it can be read or written: besides the full
    // message, the reason alone, one line that reads after the file's name.
    MarnovelException(QString message, QString reason)
        : mMessage(std::move(message)), mReason(std::move(reason)), mUtf8(mMessage.toUtf8())
    {
    }
    // The text to show, whichever field a subclass keeps it in: a generic handler
    // shows this and never reads the fields itself.
    virtual QString Message() const { return mMessage; }
    // Empty for errors that are not about a file (programming errors among them).
    const QString &Reason() const noexcept { return mReason; }
    const char *what() const noexcept override { return mUtf8.constData(); }

private:
    QString mMessage;
    QString mReason;
    QByteArray mUtf8;
};

// Keeps its text in its own field (the base message stays empty); the specific
// handlers show fMessage, generic ones get the same text from Message().
class TMBCharException : public MarnovelException
{
public:
    explicit TMBCharException(QString message)
        : MarnovelException(QString()), fMessage(std::move(message)), mUtf8(fMessage.toUtf8())
    {
    }
    QString Message() const override { return fMessage; }
    const char *what() const noexcept override { return mUtf8.constData(); }

    QString fMessage;

private:
    QByteArray mUtf8;
};

// An index or value outside its allowed range.
class ERangeError : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// A text that does not convert to the number or date it should be.
class EConvertError : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// Arithmetic overflow of an integer conversion (for example RoundWideString beyond 32 bits).
class EIntOverflow : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// List and map misuse: duplicate key, missing list index.
class EListError : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// A named resource that the executable does not contain.
class EResNotFound : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// A file that cannot be opened, read or written.
class EInOutError : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// Floating-point failure of a calculation (invalid operation, division by zero,
// overflow): the data cannot be calculated. Callers report catalogue text 185.
class EMathError : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};

// Plate text extents beyond the 13 x 9 matrix when copying to a grid.
class TCustomInvalidExtentsException : public MarnovelException
{
public:
    using MarnovelException::MarnovelException;
};
