# SPDX-License-Identifier: GPL-3.0-or-later
# The peer of the .xlsx export: openpyxl in its write-only mode writes the same cells (read from
# the CSV that Strivo wrote of the same list, before the clock starts): the column names in bold,
# the first row frozen, dates as date cells "dd.mm.yyyy", Yes/No as truth values, the rest text.
# Prints the seconds the writing took: wall and processor time.
import csv
import datetime
import re
import sys
import time

import openpyxl
from openpyxl.cell import WriteOnlyCell
from openpyxl.styles import Font

source, target = sys.argv[1], sys.argv[2]
date_columns = {2, 7, 21, 22, 23, 34, 36}  # the date columns of the races table
date = re.compile(r"^(\d\d)\.(\d\d)\.(\d\d\d\d)$")
with open(source, newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, delimiter=";"))


def value(column, text):
    if text in ("WAHR", "FALSCH"):
        return text == "WAHR"
    if text == "":
        return None
    m = date.match(text) if column in date_columns else None
    if m:
        try:
            return datetime.datetime(int(m[3]), int(m[2]), int(m[1]))
        except ValueError:
            pass
    return text


start = time.perf_counter()
cpu = time.process_time()
book = openpyxl.Workbook(write_only=True)
sheet = book.create_sheet("Läufe")
sheet.freeze_panes = "A2"
bold = Font(bold=True)
heading = []
for name in rows[0]:
    cell = WriteOnlyCell(sheet, value=name)
    cell.font = bold
    heading.append(cell)
sheet.append(heading)
for row in rows[1:]:
    cells = []
    for c, text in enumerate(row):
        v = value(c, text)
        if isinstance(v, datetime.datetime):
            cell = WriteOnlyCell(sheet, value=v)
            cell.number_format = "dd.mm.yyyy"
            cells.append(cell)
        else:
            cells.append(v)
    sheet.append(cells)
book.save(target)
print(time.perf_counter() - start, time.process_time() - cpu)
