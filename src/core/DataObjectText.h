#pragma once

#include <QString>

#include <memory>
#include <optional>

class QMimeData;

// The plain text a clipboard or a drop offers, in whichever of the toolkit's text forms a
// plate reader or a spreadsheet put it there: "text/plain" (the toolkit's own text),
// "text/plain;charset=..." in any encoding the toolkit can decode, or tab-separated values.
// Bytes with a byte-order mark are read in the encoding it names; a mark and trailing NUL
// characters are not part of the text. nullopt when the object offers no text.
std::optional<QString> PlainTextOf(const QMimeData &data);

// A data object holding only that text, as "text/plain", or no text when there is none:
// what the plate text parser reads. nullptr for no object.
std::unique_ptr<QMimeData> PlainTextDataObject(const QMimeData *data);
