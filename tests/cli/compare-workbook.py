#!/usr/bin/env python3
"""Reads workbooks back with openpyxl and compares every number with the tool's JSON.

    compare-workbook.py run JSON XLSX [JSON XLSX ...]      calc --json beside calc --xlsx
    compare-workbook.py summary JSON XLSX                  summary --json beside summary --xlsx
    compare-workbook.py dump XLSX                          every cell as JSON: sheet, row, column
                                                           (from 1), type, value, number format

Prints one line per difference and exits 1 when there is any.
"""
import datetime
import json
import math
import re
import sys

import openpyxl

problems = []


def problem(where, text):
    problems.append(f"{where}: {text}")


def same_number(where, cell, expected, decimals=None, shown=None, exact=False):
    """The cell holds `expected` as a number (nothing for None), shown with `decimals`. The
    workbook keeps 16 significant digits; a number the program shows (`shown` or `exact`) has
    fewer and must be equal."""
    value = cell.value
    if expected is None:
        if value is not None:
            problem(where, f"{value!r} where the JSON has no number")
        return
    if isinstance(value, bool) or not isinstance(value, (int, float)):
        problem(where, f"{value!r} is not the number {expected!r}")
        return
    if value != expected and (exact or shown is not None or
                              not math.isclose(value, expected, rel_tol=1e-15, abs_tol=0)):
        problem(where, f"{value!r} != {expected!r}")
    if decimals is not None:
        want = "0" if decimals == 0 else "0." + "0" * decimals
        if cell.number_format != want:
            problem(where, f"number format {cell.number_format!r}, not {want!r}")
        if shown is not None and f"{value:.{decimals}f}" != shown.replace(",", "."):
            problem(where, f"{value!r} with {decimals} decimals is not shown as {shown!r}")


def same(where, cell, expected):
    if cell.data_type == "f":
        problem(where, f"{cell.value!r} is a formula")
    value = cell.value if cell.value is not None else ("" if isinstance(expected, str) else None)
    if value != expected:
        problem(where, f"{value!r} != {expected!r}")


def decimals_of(text):
    """The decimals of the last number in a shown text ("0,350": 3, "> 10": 0)."""
    match = re.search(r"\d[.,](\d+)\D*$", text)
    return len(match.group(1)) if match else 0


def most_wells(rows):
    return max([len(row["wells"]) for row in rows] + [0])


def check_wells(where, sheet, row, col, od_col, wells):
    same(f"{where} wells", sheet.cell(row, col), "; ".join(w["well"] for w in wells))
    for i, well in enumerate(wells):
        same_number(f"{where} OD {i + 1}", sheet.cell(row, od_col + i), well["od"], exact=True)


def check_run(json_path, xlsx_path):
    with open(json_path, encoding="utf-8") as f:
        run = json.load(f)
    book = openpyxl.load_workbook(xlsx_path)
    if book.sheetnames != ["Results", "Standards", "Plate", "Run"]:
        problem(xlsx_path, f"sheets {book.sheetnames}")
        return
    name = xlsx_path

    sheet = book["Results"]
    ods = most_wells(run["results"])
    after = 3 + ods  # columns from 1: ID, wells, ODs, then the rest
    if sheet.max_row != len(run["results"]) + 1:
        problem(f"{name} Results", f"{sheet.max_row - 1} rows for {len(run['results'])} results")
    for k, result in enumerate(run["results"]):
        row, where = k + 2, f"{name} Results {result['id']}"
        same(f"{where} id", sheet.cell(row, 1), result["id"])
        check_wells(where, sheet, row, 2, 3, result["wells"])
        # A capped result ("> 10") keeps a result's 2 decimals.
        shown = result["result"].strip()
        shown_decimals = 2 if shown[:1] in (">", "<") else decimals_of(shown)
        same_number(f"{where} value", sheet.cell(row, after), result["value"], shown_decimals, exact=True)
        same_number(f"{where} valueExact", sheet.cell(row, after + 1), result["valueExact"])
        same(f"{where} result", sheet.cell(row, after + 2), result["result"])
        same(f"{where} marks", sheet.cell(row, after + 3), " ".join(result["marks"]))
        for i, flag in enumerate(["aboveRange", "nonNumericalOd", "notSpecified", "belowLowestStandard",
                                  "aboveHighestStandard"]):
            same(f"{where} {flag}", sheet.cell(row, after + 4 + i), result[flag])
        interval = result["predictionInterval95"] or [None, None]
        same_number(f"{where} interval low", sheet.cell(row, after + 9), interval[0], 3 if interval[0] else None)
        same_number(f"{where} interval high", sheet.cell(row, after + 10), interval[1], 3 if interval[1] else None)

    sheet = book["Standards"]
    ods = most_wells(run["standards"])
    after = 4 + ods
    fitted = {s["name"]: s for s in run["diagnostics"]["standards"]}
    for k, standard in enumerate(run["standards"]):
        row, where = k + 2, f"{name} Standards {standard['name']}"
        same(f"{where} name", sheet.cell(row, 1), standard["name"])
        same_number(f"{where} conc", sheet.cell(row, 2), standard["concValue"], decimals_of(standard["conc"]),
                    standard["conc"])
        check_wells(where, sheet, row, 3, 4, standard["wells"])
        for i, key in enumerate(["mean", "cv"]):
            decimals = decimals_of(standard[key]) if standard[key + "Value"] is not None else None
            same_number(f"{where} {key}", sheet.cell(row, after + i), standard[key + "Value"], decimals,
                        standard[key] if decimals is not None else None)
        same(f"{where} qc", sheet.cell(row, after + 2), standard["qc"])
        diagnostics = fitted.get(standard["name"], {})
        for i, (key, decimals) in enumerate([("backCalculated", 3), ("recoveryPercent", 1), ("residual", 4)]):
            same_number(f"{where} {key}", sheet.cell(row, after + 3 + i), diagnostics.get(key),
                        decimals if diagnostics.get(key) is not None else None)

    sheet = book["Plate"]
    ods, layout = {}, {}
    for standard in run["standards"]:
        for well in standard["wells"]:
            ods[well["well"]], layout[well["well"]] = well["od"], standard["name"]
    for result in run["results"]:
        for well in result["wells"]:
            ods[well["well"]], layout[well["well"]] = well["od"], result["id"]
    for r in range(8):
        for c in range(12):
            well = "ABCDEFGH"[r] + str(c + 1)
            same(f"{name} Plate heading {well}", sheet.cell(r + 3, 1), "ABCDEFGH"[r])
            if well in ods and ods[well] is not None:
                same_number(f"{name} Plate {well}", sheet.cell(r + 3, c + 2), ods[well], exact=True)
            same(f"{name} Plate layout {well}", sheet.cell(r + 14, c + 2), layout.get(well, ""))

    sheet = book["Run"]
    values = [sheet.cell(row, 2) for row in range(1, sheet.max_row + 1)]
    details, curve = run["runDetails"], run["curve"]
    run_date = values[1].value
    if not isinstance(run_date, datetime.datetime) or run_date.date().isoformat() != details["runDate"]:
        problem(f"{name} Run date", f"{run_date!r} is not the date {details['runDate']}")
    same(f"{name} Run number", values[2], details["runNumber"])
    same(f"{name} Run kit batch", values[3], details["kitBatchNumber"])
    same(f"{name} Run operator", values[4], details["operator"])
    same_number(f"{name} Run curve type", values[5], run["curveType"], 0)
    for i, key in enumerate(["intercept", "slope", "correlation"]):
        same_number(f"{name} Run {key}", values[6 + i], curve[key + "Value"], decimals_of(curve[key]), curve[key])
    fit_error = run["diagnostics"]["fitStandardError"]
    same_number(f"{name} Run fit error", values[9], fit_error, 4 if fit_error is not None else None)
    same(f"{name} Run in order", values[10], run["diagnostics"]["standardsInOrder"])
    same(f"{name} Run out of order", values[11], ", ".join(run["diagnostics"]["outOfOrder"]))
    same(f"{name} Run valid", values[12], run["valid"])
    same(f"{name} Run verdict", values[13], run["verdict"])
    for i, footnote in enumerate(run["footnotes"]):
        same(f"{name} Run footnote {i + 1}", values[14 + i], footnote)
    rules = [(rule, "run") for rule in run["qcRules"]]
    for standard in run["standards"]:
        rules += [(rule, standard["name"]) for rule in standard["qcRules"]]
    first = 14 + len(run["footnotes"]) + 3  # a blank row and the headings
    for i, (rule, applies) in enumerate(rules):
        row, where = first + i, f"{name} Run rule {rule['rule']} of {applies}"
        same(f"{where} bound", sheet.cell(row, 3), "\u2264" if rule["bound"] == "atMost" else "\u2265")
        same_number(f"{where} threshold", sheet.cell(row, 4), rule["threshold"], rule["decimals"])
        same_number(f"{where} measured", sheet.cell(row, 5), rule["measured"],
                    rule["decimals"] if rule["measured"] is not None else None)
        same(f"{where} advisory", sheet.cell(row, 7), rule["advisory"])
    if sheet.max_row != first + len(rules) - 1:
        problem(f"{name} Run", f"{sheet.max_row} rows, the rules end at {first + len(rules) - 1}")


def check_summary(json_path, xlsx_path):
    with open(json_path, encoding="utf-8") as f:
        rows = json.load(f)["rows"]
    book = openpyxl.load_workbook(xlsx_path)
    if book.sheetnames != ["Summary"]:
        problem(xlsx_path, f"sheets {book.sheetnames}")
        return
    sheet = book["Summary"]
    if sheet.max_row != len(rows) + 1:
        problem(xlsx_path, f"{sheet.max_row - 1} rows for {len(rows)}")
    for k, row in enumerate(rows):
        r, where = k + 2, f"{xlsx_path} row {k + 1}"
        same(f"{where} file", sheet.cell(r, 1), row["file"])
        run_date = sheet.cell(r, 2).value
        if not isinstance(run_date, datetime.datetime) or run_date.date().isoformat() != row["runDate"]:
            problem(where, f"{run_date!r} is not the date {row['runDate']}")
        same(f"{where} run number", sheet.cell(r, 3), row["runNumber"])
        same(f"{where} valid", sheet.cell(r, 6), row["valid"])
        same(f"{where} id", sheet.cell(r, 7), row["id"])
        same(f"{where} wells", sheet.cell(r, 8), "; ".join(w["well"] for w in row["wells"]))
        same_number(f"{where} concentration", sheet.cell(r, 9), row["valueExact"])
        same(f"{where} result", sheet.cell(r, 10), row["result"])
        for i, well in enumerate(row["wells"]):
            same_number(f"{where} OD {i + 1}", sheet.cell(r, 12 + i), well["od"], exact=True)


def dump(xlsx_path):
    book = openpyxl.load_workbook(xlsx_path)
    cells = []
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                value = cell.value.date().isoformat() if isinstance(cell.value, datetime.datetime) else cell.value
                cells.append([sheet.title, cell.row, cell.column, type(cell.value).__name__, value, cell.number_format])
    print(json.dumps(cells, ensure_ascii=False))
    return 0


def main(arguments):
    if len(arguments) == 2 and arguments[0] == "dump":
        return dump(arguments[1])
    if len(arguments) < 3 or arguments[0] not in ("run", "summary") or len(arguments) % 2 == 0:
        sys.exit(__doc__)
    pairs = list(zip(arguments[1::2], arguments[2::2]))
    for json_path, xlsx_path in pairs:
        (check_run if arguments[0] == "run" else check_summary)(json_path, xlsx_path)
    for line in problems:
        print(line)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
