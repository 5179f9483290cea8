/* The commission sheet written with libxlsxwriter (.xlsx), as a user scripting it
 * would.
 *
 *     xlsxwriter_commission N OUT.xlsx
 *
 * Writes the same sheet as the program's generator for N records: the sheet-wide
 * white Arial style, column widths and row heights, one row per record with its
 * commission formula, the totals row, the summary block, headings, borders, the
 * merged title and the page setup. The .xlsx format has no workbook palette, so the
 * four palette colours the sheet uses are given as RGB; formulas are written
 * without results (the reader recalculates). Prints the wall-clock and processor
 * seconds spent building and saving, and the process's peak memory. */
#define _POSIX_C_SOURCE 200809L
#include "commission_data.h"

#include <stdlib.h>
#include <time.h>
#include <xlsxwriter.h>

/* The four palette entries the sheet uses, as RGB. */
enum { kWhite = 0xFFFFFF, kSlate = 0x547D92, kLightGrey = 0xE0E0E0, kPaleBlue = 0xEAECFE };
enum { kNone = LXW_BORDER_NONE, kThin = LXW_BORDER_THIN, kMedium = LXW_BORDER_MEDIUM };
static const char kMoney[] = "$#,##0.00";

typedef struct {
    const char* font;
    double size;
    int bold;
    int colour; /* -1: automatic */
    int fill;
    const char* numberFormat; /* NULL: General */
    int centred;
    int left, right, top, bottom;
} CellLook;

static lxw_format* make_format(lxw_workbook* book, CellLook look) {
    lxw_format* f = workbook_add_format(book);
    format_set_font_name(f, look.font);
    format_set_font_size(f, look.size);
    if (look.bold) format_set_bold(f);
    if (look.colour >= 0) format_set_font_color(f, (lxw_color_t)look.colour);
    format_set_pattern(f, LXW_PATTERN_SOLID);
    format_set_bg_color(f, (lxw_color_t)look.fill);
    if (look.numberFormat) format_set_num_format(f, look.numberFormat);
    if (look.centred) format_set_align(f, LXW_ALIGN_CENTER);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    format_set_text_wrap(f);
    format_set_left(f, (uint8_t)look.left);
    format_set_right(f, (uint8_t)look.right);
    format_set_top(f, (uint8_t)look.top);
    format_set_bottom(f, (uint8_t)look.bottom);
    format_set_left_color(f, kLightGrey);
    format_set_right_color(f, kLightGrey);
    format_set_top_color(f, kLightGrey);
    format_set_bottom_color(f, kLightGrey);
    return f;
}

static CellLook body(void) {
    CellLook look = {"Century Gothic", 9, 0, -1, kWhite, NULL, 1, kNone, kNone, kNone, kNone};
    return look;
}

static CellLook heading(void) {
    CellLook look = {"Garamond", 11, 0, -1, kWhite, NULL, 1, kNone, kNone, kNone, kNone};
    return look;
}

/* Record cell formats: [column B, C, D][fill white, grey][bottom none, medium]. */
static void make_record_formats(lxw_workbook* book, lxw_format* formats[3][2][2]) {
    for (int grey = 0; grey < 2; ++grey)
        for (int last = 0; last < 2; ++last) {
            CellLook b = body(), c = body(), d = body();
            b.fill = c.fill = grey ? kLightGrey : kWhite;
            d.fill = kPaleBlue;
            c.numberFormat = d.numberFormat = kMoney;
            b.left = kMedium, b.right = kThin;
            c.left = kThin, c.right = kThin;
            d.left = kThin, d.right = kMedium;
            b.bottom = c.bottom = d.bottom = last ? kMedium : kNone;
            formats[0][grey][last] = make_format(book, b);
            formats[1][grey][last] = make_format(book, c);
            formats[2][grey][last] = make_format(book, d);
        }
}

static int build(int n, const char* path) {
    lxw_workbook* book = workbook_new(path);
    if (!book) return 1;
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Inventory List");

    /* The whole sheet: white, Arial 10, centred down, wrapping. */
    CellLook baseLook = {"Arial", 10, 0, -1, kWhite, NULL, 0, kNone, kNone, kNone, kNone};
    lxw_format* base = make_format(book, baseLook);
    worksheet_set_column(sheet, 0, 0, 3.71, base);
    worksheet_set_column(sheet, 1, 3, 28, base);
    worksheet_set_column(sheet, 4, 9, 8.43, base);
    worksheet_set_column(sheet, 10, LXW_COL_MAX - 1, LXW_DEF_COL_WIDTH, base);
    const double heights[] = {38.25, 13.5, 15, 16.5, 6.75, 19.5};
    for (int row = 0; row < 6; ++row) worksheet_set_row(sheet, (lxw_row_t)row, heights[row], NULL);

    CellLook titleLook = heading();
    titleLook.size = 24, titleLook.bold = 1, titleLook.colour = kSlate;
    worksheet_merge_range(sheet, 0, 1, 0, 3, "Sales Commission Calculator", make_format(book, titleLook));
    CellLook labelLook = heading();
    labelLook.colour = kSlate;
    lxw_format* label = make_format(book, labelLook);
    worksheet_write_string(sheet, 2, 1, "Commission Percentage", label);
    worksheet_write_string(sheet, 2, 2, "Total sales", label);
    worksheet_write_string(sheet, 2, 3, "Total commission paid", label);

    const int lastRow = n + 6; /* 1-based row of the last record */
    const int totals = n + 7;  /* 1-based row of the totals */
    char text[64];
    CellLook percentLook = body();
    percentLook.numberFormat = "0.0%";
    percentLook.left = percentLook.right = percentLook.top = percentLook.bottom = kThin;
    worksheet_write_number(sheet, 3, 1, kBenchPercentage / 100.0, make_format(book, percentLook));
    CellLook summaryLook = percentLook;
    summaryLook.numberFormat = kMoney, summaryLook.fill = kPaleBlue;
    lxw_format* summary = make_format(book, summaryLook);
    snprintf(text, sizeof text, "=C%d", totals);
    worksheet_write_formula(sheet, 3, 2, text, summary);
    snprintf(text, sizeof text, "=D%d", totals);
    worksheet_write_formula(sheet, 3, 3, text, summary);

    CellLook headLook = heading();
    headLook.bold = 1, headLook.colour = kWhite, headLook.fill = kSlate;
    headLook.top = headLook.bottom = kMedium;
    headLook.left = kMedium, headLook.right = kThin;
    worksheet_write_string(sheet, 5, 1, "SalePerson", make_format(book, headLook));
    headLook.left = kThin;
    worksheet_write_string(sheet, 5, 2, "Total Sales Amount", make_format(book, headLook));
    headLook.right = kMedium;
    worksheet_write_string(sheet, 5, 3, "Commission", make_format(book, headLook));

    /* Even records grey on B and C; the last record closes the box. */
    lxw_format* records[3][2][2];
    make_record_formats(book, records);
    for (int i = 1; i <= n; ++i) {
        const int r = i + 6;
        const int grey = i % 2 == 0, last = r == lastRow;
        worksheet_set_row(sheet, (lxw_row_t)(r - 1), 15, NULL);
        bench_record_name(i, text, sizeof text);
        worksheet_write_string(sheet, (lxw_row_t)(r - 1), 1, text, records[0][grey][last]);
        worksheet_write_number(sheet, (lxw_row_t)(r - 1), 2, bench_record_total(i), records[1][grey][last]);
        snprintf(text, sizeof text, "=C%d*B4", r);
        worksheet_write_formula(sheet, (lxw_row_t)(r - 1), 3, text, records[2][grey][last]);
    }

    CellLook totalsLabel = heading();
    totalsLabel.bold = 1, totalsLabel.colour = kWhite, totalsLabel.fill = kSlate;
    worksheet_write_string(sheet, (lxw_row_t)(totals - 1), 1, "Totals", make_format(book, totalsLabel));
    CellLook totalLook = body();
    totalLook.bold = 1, totalLook.fill = kPaleBlue, totalLook.numberFormat = kMoney;
    lxw_format* total = make_format(book, totalLook);
    if (n > 0) snprintf(text, sizeof text, "=SUM(C7:C%d)", lastRow);
    else snprintf(text, sizeof text, "=0");
    worksheet_write_formula(sheet, (lxw_row_t)(totals - 1), 2, text, total);
    snprintf(text, sizeof text, "=C%d*B4", totals);
    worksheet_write_formula(sheet, (lxw_row_t)(totals - 1), 3, text, total);

    /* Page: landscape A4 fitted to one page. The library refuses a header or
     * footer margin of 0, so those two keep its default. */
    worksheet_print_area(sheet, 0, 0, (lxw_row_t)lastRow, 8); /* to the totals row */
    worksheet_set_margins(sheet, 0.7, 0.7, 0.5, 0.5);
    worksheet_set_landscape(sheet);
    worksheet_set_paper(sheet, 9);
    worksheet_fit_to_pages(sheet, 1, 1);
    worksheet_set_selection(sheet, 14, 2, 14, 2);
    return workbook_close(book) == LXW_NO_ERROR ? 0 : 1;
}

/* The process's own resident high-water mark in kilobytes (its parent's figure for
 * it would also count the parent's memory at the launch). */
static long peak_resident_kb(void) {
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    long kb = 0;
    while (status && fgets(line, sizeof line, status))
        if (sscanf(line, "VmHWM: %ld", &kb) == 1) break;
    if (status) fclose(status);
    return kb;
}

static double seconds_between(struct timespec from, struct timespec to) {
    return (double)(to.tv_sec - from.tv_sec) + (double)(to.tv_nsec - from.tv_nsec) / 1e9;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s N OUT.xlsx\n", argv[0]);
        return 2;
    }
    const int n = atoi(argv[1]);
    if (n < 0 || n > 1000000) {
        fprintf(stderr, "N must be 0 to 1000000\n");
        return 2;
    }
    struct timespec start, end, cpuStart, cpuEnd;
    clock_gettime(CLOCK_MONOTONIC, &start);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
    const int failed = build(n, argv[2]);
    clock_gettime(CLOCK_MONOTONIC, &end);
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
    if (failed) {
        fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    printf("seconds=%.6f cpu=%.6f peak_kb=%ld\n", seconds_between(start, end), seconds_between(cpuStart, cpuEnd),
           peak_resident_kb());
    return 0;
}
