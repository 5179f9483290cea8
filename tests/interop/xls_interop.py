"""Shared helpers of the interop checks: the workbook-writing tool, the system
Python that has xlrd, and LibreOffice's headless conversion to CSV."""

import csv
import json
import os
import shutil
import subprocess
import sys
import tempfile

SYSTEM_PYTHON = "/usr/bin/python3"


def use_python_with(module):
    """Re-runs the script under the system Python when this one lacks module
    (the Debian package installs it there)."""
    try:
        __import__(module)
    except ImportError:
        if os.path.exists(SYSTEM_PYTHON) and os.path.realpath(sys.executable) != os.path.realpath(SYSTEM_PYTHON):
            os.execv(SYSTEM_PYTHON, [SYSTEM_PYTHON] + sys.argv)
        raise


def tool(name):
    bin_dir = os.environ.get("QUENVALE_BIN_DIR")
    if not bin_dir:
        raise RuntimeError("QUENVALE_BIN_DIR is not set")
    return os.path.join(bin_dir, name)


def write_workbook(folder, records, *options):
    """Lays out and saves the commission workbook of `records` (a count, "sample"
    or "texts"); returns its path and the records used."""
    path = os.path.join(folder, "commission_%s%s.xls" % (records, "_".join(o.strip("-") for o in options)))
    listing = path + ".json"
    subprocess.run([tool("write_commission_workbook"), path, str(records), "--records-json", listing] + list(options),
                   check=True, timeout=600, env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
    with open(listing, encoding="utf-8") as f:
        return path, json.load(f)


# LibreOffice's CSV filter: comma, double quote, UTF-8, from line 1, US English;
# the last flag chooses between raw values and the text as the cells show it.
_CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76,1,,1033,false,true,%s"


def libreoffice_csv(paths, as_shown):
    """Converts the workbooks with LibreOffice headless (which recalculates on
    loading) and returns each one's rows, in a private user profile."""
    soffice = shutil.which("soffice") or shutil.which("libreoffice")
    if not soffice:
        raise RuntimeError("LibreOffice (soffice) is not installed")
    with tempfile.TemporaryDirectory() as work:
        profile = os.path.join(work, "profile")
        out = os.path.join(work, "out")
        subprocess.run([soffice, "-env:UserInstallation=file://" + profile, "--headless", "--norestore",
                        "--convert-to", _CSV_FILTER % ("true" if as_shown else "false"), "--outdir", out] + list(paths),
                       check=True, timeout=600, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        result = {}
        for p in paths:
            name = os.path.splitext(os.path.basename(p))[0] + ".csv"
            with open(os.path.join(out, name), encoding="utf-8", newline="") as f:
                result[p] = list(csv.reader(f))
        return result


def expected_figures(listing):
    """Totals, commissions and their sums as the sheet's formulas compute them."""
    rate = float(listing["percentage"]) / 100.0
    totals = [float(r["total"]) for r in listing["records"]]
    commissions = [t * rate for t in totals]
    total = 0.0
    for t in totals:
        total += t
    return rate, totals, commissions, total, total * rate
