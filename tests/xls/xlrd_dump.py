"""Prints every sheet of a workbook as JSON, as xlrd reads it (test helper)."""
import json
import sys

import xlrd

TYPES = {xlrd.XL_CELL_EMPTY: "empty", xlrd.XL_CELL_BLANK: "empty", xlrd.XL_CELL_TEXT: "text",
         xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_ERROR: "error"}

book = xlrd.open_workbook(sys.argv[1])
sheets = []
for sheet in book.sheets():
    rows = []
    for r in range(sheet.nrows):
        rows.append([[TYPES[c.ctype], c.value] for c in sheet.row(r)])
    sheets.append({"name": sheet.name, "ncols": sheet.ncols, "rows": rows})
json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=True)
