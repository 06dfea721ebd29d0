# SPDX-License-Identifier: GPL-3.0-or-later
# Reads an .xlsx workbook with openpyxl and prints what a spreadsheet user sees as JSON: the
# sheets, the frozen pane, the heading's font, the column widths and every cell with its type.
import datetime
import json
import sys

import openpyxl
from openpyxl.utils import get_column_letter

book = openpyxl.load_workbook(sys.argv[1])
sheet = book.worksheets[0]
rows = []
for row in sheet.iter_rows():
    cells = []
    for cell in row:
        v = cell.value
        if v is None:
            cells.append(["empty", ""])
        elif isinstance(v, bool):
            cells.append(["bool", "WAHR" if v else "FALSCH"])
        elif isinstance(v, datetime.datetime):
            cells.append(["date", v.strftime("%d.%m.%Y"), cell.number_format])
        elif isinstance(v, str):
            cells.append(["text", v])
        else:
            cells.append(["number", str(v)])
    rows.append(cells)
widths = {}
for i in range(1, sheet.max_column + 1):
    dim = sheet.column_dimensions.get(get_column_letter(i))
    widths[str(i)] = dim.width if dim is not None and dim.width else 0
json.dump({
    "sheets": book.sheetnames,
    "freeze": sheet.freeze_panes,
    "boldHeading": all(c.font.b for c in sheet[1]),
    "widths": widths,
    "rows": rows,
}, sys.stdout, ensure_ascii=False)
