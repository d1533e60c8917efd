"""Quorvik's page: the counts typed, the data file given to the file input."""

import unittest

from harness import SOURCE_DIR
from pages import PageTest, golden

WORKED = golden("quorvik_worked_two_sided.txt")
FILE_LINE = " /data/worked_controls.txt"  # the golden's line naming the data file
LOADED = "Data file consisting of n + 2 = 12 cases (rows) and  2 variables (columns) was loaded successfully "


def named(report):
    """The worked report of a file whose first line names the variables
    "Naming" and "School years"."""
    report = list(report)
    title = report.index(" Raw data for controls (data for the cases are reported in the table that follows):")
    report.insert(title + 1, " " * 11 + "      Naming   School years   ")
    rows = {"  Task of Interest:      50.000": "  Naming:                50.000",
            "  Covariate 1:           10.000": "  School years:          10.000"}
    for i, line in enumerate(report):
        for old, new in rows.items():
            if line.startswith(old):
                report[i] = new + line[len(old):]
    return report


class Quorvik(PageTest):
    page = "quorvik.html"

    def compute_with(self, file):
        b = self.browser
        b.type_into("txtInput1", "10")
        b.press("Tab")
        self.assertEqual(b.active_id(), "txtInput2")
        b.type_keys("1")
        b.click("cmdCompute")
        b.upload(SOURCE_DIR / "examples" / file)

    def assert_report_for(self, file, expected):
        """The report names the data file where the golden names /data/...;
        the page may show it with a folder of its own."""
        self.browser.wait_results()
        shown = self.browser.reports()[0].split("\n")
        self.assertIn(FILE_LINE, expected)
        at = expected.index(FILE_LINE)
        self.assertTrue(shown[at].endswith("/" + file) or shown[at] == " " + file, shown[at])
        expected = list(expected)
        expected[at] = shown[at]
        self.assert_report(expected)

    def test_worked_controls_file_gives_the_loaded_box_and_the_golden_report(self):
        self.compute_with("worked_controls.txt")
        self.assert_box("Information", LOADED)
        self.browser.answer("Ok")
        self.assert_report_for("worked_controls.txt", WORKED)

    def test_spreadsheet_exports_name_the_variables_in_the_box_and_the_report(self):
        for file in ("worked_controls.csv", "worked_controls_semicolon.csv"):
            with self.subTest(file):
                self.first_visit()
                self.compute_with(file)
                self.assert_box("Information", LOADED + "\r\rLine 1 names the variables: the task of interest "
                                "\"Naming\", covariate 1 \"School years\".")
                self.browser.answer("Ok")
                self.assert_report_for(file, named(WORKED))


if __name__ == "__main__":
    unittest.main()
