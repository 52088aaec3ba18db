#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>

class TRunSession;

// What the JSON output of `calc --json` promises; cli/velomyra-cli.schema.json describes it.
inline constexpr int RunJsonSchemaVersion = 2;

// The calculated run as JSON: every text as the program shows it (language and regional
// settings of the machine), and beside the texts machine fields that depend on neither:
// numbers, booleans, well positions and the QC rules that decided the verdict. The numbers
// come twice: as shown (XValue) and as calculated, unrounded (XExact), for trends across runs.
// Version 2 adds the curve diagnostics (CurveDiagnostics.h) beside them; every version-1
// field keeps its meaning.
// The session must hold a calculation.
QByteArray RunJsonText(const TRunSession &session);
QJsonObject RunJsonObject(const TRunSession &session);
// The "results" array of RunJsonText: one object per sample, in the layout's order.
QJsonArray RunResultsJson(const TRunSession &session);
