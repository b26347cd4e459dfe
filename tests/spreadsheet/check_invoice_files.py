#!/usr/bin/env python3
"""Opens the invoice files written by win32.invoice_writer_test in LibreOffice Calc (headless)
and checks that every record's cells stand under their headers.

Usage: check_invoice_files.py FOLDER   (FOLDER holds invoice.csv and invoice.tsv)

Calc imports each file the way a user opens it (comma or tab as separator, double quote as text
delimiter, every column as text so nothing is reinterpreted) and saves it again as a plain CSV,
which is read back here. Surrounding spaces of a cell are ignored: our cells carry one.
"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

# The jobs SpreadsheetFiles writes, in order, and the values every record shares.
JOBS = [
    "Typing Job",
    'Smith, John "JJ"',
    '"Quoted" start, then text',
    'Tab\there, comma, "quote"',
    "Plain again",
]
HEADER = ["Date", "Job Name", "No. of Characters", "No. of Words", "No. of Lines", "Total Cost"]
VALUES = ["2026-03-07", None, "1250", "214", "19", "18.75"]
TITLE = "Typing Invoice"

CONVERT_SECONDS = 120
# Column formats for the import: columns 1 to 8 as text (2).
TEXT_COLUMNS = "/".join(f"{column}/2" for column in range(1, 9))


def convert(source, separator, outdir, profile):
    """Imports source into Calc and exports it as comma-separated UTF-8; returns the rows."""
    # Import tokens: separator, text delimiter ("), charset (76 = UTF-8), first line, formats.
    infilter = f"Text - txt - csv (StarCalc):{separator},34,76,1,{TEXT_COLUMNS}"
    command = [
        "soffice", f"-env:UserInstallation=file://{profile}", "--headless", "--norestore",
        f"--infilter={infilter}",
        "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76,1",
        "--outdir", outdir, source,
    ]
    result = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True,
                            timeout=CONVERT_SECONDS)
    converted = os.path.join(outdir, os.path.splitext(os.path.basename(source))[0] + ".csv")
    if result.returncode != 0 or not os.path.exists(converted):
        raise AssertionError(f"soffice could not convert {source}:\n{result.stdout}{result.stderr}")
    with open(converted, newline="", encoding="utf-8") as stream:
        return list(csv.reader(stream))


def cells_of(row):
    """The row's cells without surrounding spaces and without the empty cells at its end."""
    cells = [cell.strip(" ") for cell in row]
    while cells and cells[-1] == "":
        cells.pop()
    return cells


def check(name, rows):
    problems = []
    expected = [[TITLE], HEADER]
    for job in JOBS:
        expected.append([job if value is None else value for value in VALUES])
    got = [cells_of(row) for row in rows]
    while got and got[-1] == []:
        got.pop()
    if len(got) != len(expected):
        problems.append(f"{name}: {len(got)} rows, expected {len(expected)}: {got!r}")
    for number, (want, have) in enumerate(zip(expected, got), start=1):
        if have != want:
            problems.append(f"{name} row {number}: {have!r}, expected {want!r}")
    return problems


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    folder = sys.argv[1]
    if shutil.which("soffice") is None:
        print("FAIL: soffice (LibreOffice Calc) is not installed; scripts/install-deps.sh adds it")
        return 1
    work = tempfile.mkdtemp(prefix="qm-spreadsheet-")
    try:
        problems = []
        for file_name, separator in (("invoice.csv", 44), ("invoice.tsv", 9)):
            source = os.path.join(folder, file_name)
            if not os.path.exists(source):
                problems.append(f"{source} is missing")
                continue
            outdir = os.path.join(work, file_name.replace(".", "-"))
            rows = convert(source, separator, outdir, os.path.join(work, "profile"))
            problems += check(file_name, rows)
        for problem in problems:
            print("FAIL:", problem)
        checked = 2 - sum(1 for p in problems if p.endswith("is missing"))
        print(f"{checked} invoice files opened in Calc, {len(problems)} problems")
        return 1 if problems else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
