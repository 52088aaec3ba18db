#include "core/Tool.h"

#include <algorithm>
#include <cmath>

namespace {

// A word that is too short to stand on a line of its own.
bool IsShortWord(const QString &word, int longestWithHyphen)
{
    return word.size() <= 1 || (word.size() <= longestWithHyphen && word.endsWith(QLatin1Char('-')));
}

} // namespace

QStringList SplitHeading(const QString &text)
{
    QStringList words;
    qsizetype longest = 0;
    const QStringList pieces = text.split(QStringLiteral("\r\n"));
    for (const QString &piece : pieces) {
        // Only the last piece's delimited words set the width the lines are centred on.
        longest = 0;
        qsizetype start = 0;
        for (qsizetype j = 0; j < piece.size(); ++j) {
            const QChar c = piece.at(j);
            if ((c != QLatin1Char(' ') && c != QLatin1Char('-')) || j == start)
                continue;
            QString word = piece.mid(start, j - start);
            if (c == QLatin1Char('-'))
                word += QLatin1Char('-');
            longest = std::max(longest, word.size());
            words.append(word);
            start = j + 1;
        }
        words.append(piece.mid(start));
    }

    if (words.size() > 1 && IsShortWord(words.at(0), 3)) {
        words[0] += QLatin1Char(' ') + words.at(1);
        words.removeAt(1);
    }
    // After a join the word that moves up is not looked at: "Word x y" keeps "y" alone.
    for (qsizetype j = 1; j < words.size(); ++j) {
        if (IsShortWord(words.at(j), 2)) {
            words[j - 1] += QLatin1Char(' ') + words.at(j);
            words.removeAt(j);
        }
    }

    for (QString &word : words) {
        const long blanks = std::lround(static_cast<double>(longest - word.size()) * 0.5 - 0.1);
        if (blanks > 0)
            word.prepend(QString(blanks, QLatin1Char(' ')));
    }
    return words;
}
