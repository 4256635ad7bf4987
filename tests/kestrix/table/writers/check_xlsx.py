"""Reads an .xlsx workbook with openpyxl and prints what it holds as JSON for the tests."""
import datetime
import json
import sys

import openpyxl


def plain(value):
    if isinstance(value, (datetime.datetime, datetime.date)):
        return value.isoformat()
    return value


def color(c):
    return c.rgb if c is not None and isinstance(c.rgb, str) else None


def borders(cell):
    sides = (("L", cell.border.left), ("T", cell.border.top), ("R", cell.border.right),
             ("B", cell.border.bottom))
    return "".join(name for name, side in sides if side is not None and side.style is not None)


def main(path):
    formulas = openpyxl.load_workbook(path)
    cached = openpyxl.load_workbook(path, data_only=True)
    sheet = formulas.worksheets[0]
    values = cached.worksheets[0]
    cells = {}
    comments = {}
    for row in sheet.iter_rows():
        for cell in row:
            if cell.comment is not None:
                comments[cell.coordinate] = cell.comment.text
            if cell.value is None and not cell.has_style:
                continue
            cells[cell.coordinate] = {
                "value": plain(cell.value),
                "cached": plain(values[cell.coordinate].value),
                "number_format": cell.number_format,
                "is_date": cell.is_date,
                "font_color": color(cell.font.color),
                "fill": color(cell.fill.fgColor) if cell.fill.fill_type == "solid" else None,
                "align": cell.alignment.horizontal,
                "borders": borders(cell),
            }
    print(json.dumps({
        "sheets": formulas.sheetnames,
        "cells": cells,
        "comments": comments,
        "merged": sorted(str(r) for r in sheet.merged_cells.ranges),
        "freeze": sheet.freeze_panes,
        "max_row": sheet.max_row,
    }))


if __name__ == "__main__":
    main(sys.argv[1])
