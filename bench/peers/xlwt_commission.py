#!/usr/bin/python3
"""The commission sheet written with xlwt (.xls), as a user scripting it would.

    xlwt_commission.py N OUT.xls

Writes the same sheet as the program's generator for N records: the 56-colour
palette, the sheet-wide white Arial style, column widths and row heights, one row
per record with its commission formula, the totals row, the summary block,
headings, borders, the merged title and the page setup. Prints the wall-clock and
processor seconds spent building and saving (interpreter start not included) and
the process's peak memory.
"""
import sys
import time

import xlwt

from commission_data import PALETTE, PERCENTAGE, record_name, record_total

# Palette entry i (1..56) is the file's colour index i + 7.
WHITE, SLATE, LIGHT_GREY, PALE_BLUE = 2 + 7, 10 + 7, 15 + 7, 35 + 7
AUTOMATIC = 0x7FFF
MONEY = "$#,##0.00"
NONE, THIN, MEDIUM = xlwt.Borders.NO_LINE, xlwt.Borders.THIN, xlwt.Borders.MEDIUM


def style(font="Arial", size=10, bold=False, colour=AUTOMATIC, fill=WHITE,
          number_format="General", centred=True, edges=(NONE, NONE, NONE, NONE)):
    """A cell style; edges are left, right, top, bottom line weights."""
    s = xlwt.XFStyle()
    s.font = xlwt.Font()
    s.font.name = font
    s.font.height = int(size * 20)
    s.font.bold = bold
    s.font.colour_index = colour
    s.alignment = xlwt.Alignment()
    s.alignment.vert = xlwt.Alignment.VERT_CENTER
    s.alignment.wrap = xlwt.Alignment.WRAP_AT_RIGHT
    if centred:
        s.alignment.horz = xlwt.Alignment.HORZ_CENTER
    s.pattern = xlwt.Pattern()
    s.pattern.pattern = xlwt.Pattern.SOLID_PATTERN
    s.pattern.pattern_fore_colour = fill
    s.borders = xlwt.Borders()
    s.borders.left, s.borders.right, s.borders.top, s.borders.bottom = edges
    s.borders.left_colour = s.borders.right_colour = LIGHT_GREY
    s.borders.top_colour = s.borders.bottom_colour = LIGHT_GREY
    s.num_format_str = number_format
    return s


def body(**kw):
    return style(font="Century Gothic", size=9, **kw)


def heading(**kw):
    return style(font="Garamond", size=11, **kw)


def build(n, path):
    book = xlwt.Workbook()
    for i, (red, green, blue) in enumerate(PALETTE, start=1):
        book.set_colour_RGB(i + 7, red, green, blue)
    sheet = book.add_sheet("Inventory List")

    # The whole sheet: white, Arial 10, centred down, wrapping.
    base = style(centred=False)
    for column in range(256):
        sheet.col(column).set_style(base)
    for column, width in enumerate([3.71, 28, 28, 28] + [8.43] * 6):
        sheet.col(column).width = int(width * 256)
    for row, height in enumerate([38.25, 13.5, 15, 16.5, 6.75, 19.5]):
        sheet.row(row).height = int(height * 20)
        sheet.row(row).height_mismatch = True

    sheet.write_merge(0, 0, 1, 3, "Sales Commission Calculator",
                      style(font="Garamond", size=24, bold=True, colour=SLATE))
    label = heading(colour=SLATE)
    sheet.write(2, 1, "Commission Percentage", label)
    sheet.write(2, 2, "Total sales", label)
    sheet.write(2, 3, "Total commission paid", label)

    thin_box = (THIN, THIN, THIN, THIN)
    last_row = n + 6   # 1-based row of the last record
    totals = n + 7     # 1-based row of the totals
    sheet.write(3, 1, PERCENTAGE / 100, body(number_format="0.0%", edges=thin_box))
    summary = body(number_format=MONEY, fill=PALE_BLUE, edges=thin_box)
    sheet.write(3, 2, xlwt.Formula("C%d" % totals), summary)
    sheet.write(3, 3, xlwt.Formula("D%d" % totals), summary)

    head = dict(bold=True, colour=WHITE, fill=SLATE)
    sheet.write(5, 1, "SalePerson", heading(edges=(MEDIUM, THIN, MEDIUM, MEDIUM), **head))
    sheet.write(5, 2, "Total Sales Amount", heading(edges=(THIN, THIN, MEDIUM, MEDIUM), **head))
    sheet.write(5, 3, "Commission", heading(edges=(THIN, MEDIUM, MEDIUM, MEDIUM), **head))

    # Record cells: even records grey on B and C; the last record closes the box.
    def record_styles(bottom):
        b = {fill: body(fill=fill, edges=(MEDIUM, THIN, NONE, bottom)) for fill in (WHITE, LIGHT_GREY)}
        c = {fill: body(fill=fill, number_format=MONEY, edges=(THIN, THIN, NONE, bottom))
             for fill in (WHITE, LIGHT_GREY)}
        d = body(fill=PALE_BLUE, number_format=MONEY, edges=(THIN, MEDIUM, NONE, bottom))
        return b, c, d

    inner, last = record_styles(NONE), record_styles(MEDIUM)
    for i in range(1, n + 1):
        r = i + 6
        b, c, d = last if r == last_row else inner
        fill = LIGHT_GREY if i % 2 == 0 else WHITE
        row = sheet.row(r - 1)
        row.height = 300
        row.height_mismatch = True
        row.write(1, record_name(i), b[fill])
        row.write(2, record_total(i), c[fill])
        row.write(3, xlwt.Formula("C%d*B4" % r), d)

    sheet.write(totals - 1, 1, "Totals", heading(bold=True, colour=WHITE, fill=SLATE))
    total = body(bold=True, fill=PALE_BLUE, number_format=MONEY)
    first = 7
    sum_of = "SUM(C%d:C%d)" % (first, last_row) if n > 0 else "0"
    sheet.write(totals - 1, 2, xlwt.Formula(sum_of), total)
    sheet.write(totals - 1, 3, xlwt.Formula("C%d*B4" % totals), total)

    # Page: landscape A4 fitted to one page. xlwt has no way to write a print area.
    sheet.left_margin = sheet.right_margin = 0.7
    sheet.top_margin = sheet.bottom_margin = 0.5
    sheet.header_margin = sheet.footer_margin = 0
    sheet.portrait = False
    sheet.paper_size_code = 9
    sheet.fit_num_pages = 1
    sheet.fit_width_to_pages = sheet.fit_height_to_pages = 1
    book.save(path)


def peak_resident_kb():
    """The process's own resident high-water mark (its parent's figure for it would
    also count the parent's memory at the launch)."""
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    return 0


def main():
    n, path = int(sys.argv[1]), sys.argv[2]
    start, cpu_start = time.perf_counter(), time.process_time()
    build(n, path)
    print("seconds=%.6f cpu=%.6f peak_kb=%d" % (time.perf_counter() - start, time.process_time() - cpu_start,
                                               peak_resident_kb()))


if __name__ == "__main__":
    main()
