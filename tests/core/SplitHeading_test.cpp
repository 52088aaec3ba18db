#include "core/Tool.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(SplitHeading, HeadingsBecomeCentredLines)
{
    const struct
    {
        QString heading;
        QStringList lines;
    } cases[] = {
        // The result heading of the research edition: two lines, neither indented.
        {u"Result (IU/mL)"_s, {u"Result"_s, u"(IU/mL)"_s}},
        // The lone hyphen is a word of its own and joins the word before it; the lines are
        // centred on "IU/mL" (5), not on the joined line.
        {u"IU/mL - TB"_s, {u"IU/mL -"_s, u" TB"_s}},
        // After "x" joins "Word", "y" moves up and is not examined.
        {u"Word x y"_s, {u"Word x"_s, u" y"_s}},
        {u"Subject ID"_s, {u"Subject"_s, u"  ID"_s}},
        // A hyphen ends a word and stays with it.
        {u"Anti-Body"_s, {u"Anti-"_s, u"Body"_s}},
        // A short first word joins the second, also when it ends with a hyphen.
        {u"a b c"_s, {u"a b c"_s}},
        {u"TB- Antigen"_s, {u"TB-  Antigen"_s}},
        // CR LF starts a new piece, but the words of all pieces make one list; only the last
        // piece's words set the width the lines are centred on.
        {u"Raw\r\nData (OD)"_s, {u"Raw"_s, u"Data"_s, u"(OD)"_s}},
        {u"Concentration\r\nA B"_s, {u"Concentration A"_s, u"B"_s}},
        // A blank at the start of a word stays in it; a trailing blank leaves an empty last
        // word that joins the one before.
        {u" A"_s, {u" A"_s}},
        {u"Result "_s, {u"Result "_s}},
        {QString(), {QString()}},
        {u"Mean"_s, {u"Mean"_s}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SplitHeading(c.heading), c.lines) << c.heading.toStdString();
}
