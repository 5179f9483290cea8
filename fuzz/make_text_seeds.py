#!/usr/bin/env python3
"""Writes the text seeds of the fuzz corpora (fuzz/corpus/<target>/). Seeds that
need our own writer (file tokens, workbooks) come from fuzz_make_seeds."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def saved_list():
    sample = "Aldo Fennick||SEP1||5600||SEP1||560||SEP2||John Smith||SEP1||8400||SEP1||840||SEP2||" \
             "Zodo Duvevado||SEP1||11100||SEP1||1110||SEP2||"
    values = {
        "sample": sample,
        "no_terminator": "Ann||SEP1||5||SEP1||0.5",
        "empty_records": "||SEP2||||SEP2||",
        "name_only": "name only||SEP2||",
        "extra_fields": "a||SEP1||b||SEP1||c||SEP1||d||SEP2||",
        "unicode": "Zoë «ünïcödé» \u05e9\u05dc\u05d5\u05dd \U0001F600||SEP1||1.234,5||SEP1||x||SEP2||",
        "near_separators": "|SEP1||SEP1|||SEP2|||SEP2||||SEP1||SEP2",
    }
    for name, value in values.items():
        write("saved_list", name, b"\x00" + value.encode("utf-8"))
    for name, texts in {"typed": ["Aldo Fennick", "5600", "560"],
                        "typed_bars": ["a||b", "|", "||SEP"]}.items():
        data = b"\x01"
        for text in texts:
            raw = text.encode("utf-8")
            data += bytes([len(raw)]) + raw
        write("saved_list", name, data)


def locale_number():
    texts = ["5600", "1,234.56", "1.234,56", " -12.5e3 ", "1\u202f234,5", "0x10", "\u221e", "NaN",
             "1e308", "-0", "1e-320", "1,2,3", "+.5", "5.", "1E+20", "$5"]
    pairs = [(5600.0, 10.0), (1234.56, 7.5), (999.99, 12.5), (1e308, 1000.0), (-0.0, 5e-324)]
    for i, text in enumerate(texts):
        total, rate = pairs[i % len(pairs)]
        write("locale_number", "seed%02d" % i,
              bytes([i % 3]) + struct.pack("<dd", total, rate) + text.encode("utf-8"))


def formula():
    r1c1 = ["=RC[-1]*R[-3]C[-2]", "=SUM(R[-5]C:R[-1]C)", '=IF(RC[-1]>0,RC[-1]*10%,"none")',
            '=ROUND(R1C1/3,2)&" each"', "=-R[1]C^2", "=AVERAGE(R1C1:R3C3)+MAX(1,2)-MIN(3,4)",
            "=RC", "=(((1)))", "=#DIV/0!", "=TRUE<>FALSE"]
    a1 = ["=C7*B4", "=SUM($A$1:B3)", "=IV65536+A1", "=IF(A1,,2)", '="a"&"b"', "=B4/0"]
    typed = ["10%", "$5,600.00", "2024-03-01", "'=x", "#DIV/0!", "TRUE", "3/1/2024", "5 \u20ac", "Aldo"]
    n = 0
    for text in r1c1:
        write("formula", "r1c1_%02d" % n, bytes([0, n]) + text.encode("utf-8")); n += 1
    for text in a1:
        write("formula", "a1_%02d" % n, bytes([2, n]) + text.encode("utf-8")); n += 1
    for text in typed:
        write("formula", "typed_%02d" % n, bytes([4 * (n % 3), n]) + text.encode("utf-8")); n += 1


if __name__ == "__main__":
    saved_list()
    locale_number()
    formula()
