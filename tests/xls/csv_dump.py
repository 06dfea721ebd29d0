"""Prints a UTF-8 CSV file as a JSON list of rows (test helper for LibreOffice's output)."""
import csv
import json
import sys

with open(sys.argv[1], encoding="utf-8", newline="") as f:
    json.dump(list(csv.reader(f)), sys.stdout, ensure_ascii=True)
