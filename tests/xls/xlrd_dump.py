"""Prints every sheet of a workbook as JSON, as xlrd reads it (test helper).

Usage: xlrd_dump.py FILE [COLUMNS] - with COLUMNS, only the first COLUMNS cells of each row
are printed (xlrd still reads the whole workbook); large sheets print much faster.
"""
import json
import sys

import xlrd

TYPES = {xlrd.XL_CELL_EMPTY: "empty", xlrd.XL_CELL_BLANK: "empty", xlrd.XL_CELL_TEXT: "text",
         xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_ERROR: "error"}

book = xlrd.open_workbook(sys.argv[1])
limit = int(sys.argv[2]) if len(sys.argv) > 2 else None
sheets = []
for sheet in book.sheets():
    rows = []
    for r in range(sheet.nrows):
        rows.append([[TYPES[c.ctype], c.value] for c in sheet.row_slice(r, 0, limit)])
    sheets.append({"name": sheet.name, "ncols": sheet.ncols, "rows": rows})
json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=True)
