# SPDX-License-Identifier: GPL-3.0-or-later
# Reads a CSV file as German spreadsheets write it, with Python's own csv module, and prints its
# rows as JSON.
import csv
import json
import sys

with open(sys.argv[1], newline="", encoding="utf-8-sig") as f:
    rows = list(csv.reader(f, delimiter=";"))
json.dump(rows, sys.stdout, ensure_ascii=False)
