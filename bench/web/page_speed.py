"""page_speed.py SITE_DIR: each page of the browser edition opened from
file:// in headless Chromium (the browser tests' harness): the time from
navigation to ready, and the time of one Compute of the worked example, as
the page reports them in window.quorvTimings. Five visits a page: the first
in a fresh profile, the others reloads."""

import os
import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "web" / "browser"))
from harness import SOURCE_DIR, Browser  # noqa: E402

VISITS = int(os.environ.get("QUORV_VISITS", "5"))
GRID = {(2, 0): "50", (3, 0): "10", (4, 0): "40", (5, 0): "55",
        (2, 1): "10", (3, 1): "2", (4, 1): "12", (5, 1): "9"}


def compute_quorvane(b, first):
    if first:
        b.type_into("txtInput1", "1")
        b.type_into("txtInput2", "10")
        for (column, row), text in GRID.items():
            b.type_into(f"grdData-{column}-{row}", text, replace=True)
    b.click("cmdCompute")
    b.wait_until(lambda: b.script("return document.getElementById('matrixDialog').open"), "the matrix dialog")
    b.type_into("mat1x2", "0.6", replace=True)
    b.click("CloseBtn")
    b.wait_results()


def compute_quorvik(b, first):
    if first:
        b.type_into("txtInput1", "10")
        b.type_into("txtInput2", "1")
    b.click("cmdCompute")
    b.upload(SOURCE_DIR / "examples" / "worked_controls.txt")
    b.wait_message()
    b.answer("Ok")
    b.wait_results()


def measure(site, page, compute):
    b = Browser()
    try:
        ready, computes = [], []
        for visit in range(VISITS):
            if visit == 0:
                b.open(site / page)
            else:
                b.reload()
            ready.append(b.script("return window.quorvTimings.ready"))
            compute(b, visit == 0)
            computes.append(b.script("return window.quorvTimings.lastCompute"))
        outside = b.outside_requests(site)
        if outside:
            raise SystemExit(f"{page} asked the network for {outside}")
    finally:
        b.quit()
    print(f"{page:15} ready {ready[0]:7.1f} ms first visit, median {statistics.median(ready[1:] or ready):7.1f} ms after;"
          f" Compute median {statistics.median(computes):6.1f} ms (of {', '.join(f'{c:.1f}' for c in computes)})")


def main():
    site = Path(sys.argv[1]).resolve()
    measure(site, "quorvane.html", compute_quorvane)
    measure(site, "quorvik.html", compute_quorvik)


if __name__ == "__main__":
    main()
