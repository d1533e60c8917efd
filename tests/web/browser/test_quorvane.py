"""Quorvane's page driven as a user drives it: keys, clicks, the clipboard."""

import unittest

from pages import PageTest, golden, saved_output

WORKED = golden("quorvane_worked_two_sided.txt")
# The worked example's grid (column, row): Mean, SD, Case A, Case B of the
# task (row 0) and of the covariate (row 1).
WORKED_GRID = {(2, 0): "50", (3, 0): "10", (4, 0): "40", (5, 0): "55",
               (2, 1): "10", (3, 1): "2", (4, 1): "12", (5, 1): "9"}
# What README promises the worked example gives.
README_FIGURES = [" t value (on   8 df) = -1.8856", " One-tailed probability = 0.048036",
                  " Effect size (Z-PCCC) for difference between the two cases (plus 95% CI) = -2.000  (-3.166 , -0.795)",
                  " direction as the two cases but are larger in magnitude = 4.8036%",
                  " 95% lower confidence limit on the percentage = 0.0774%",
                  " 95% upper confidence limit on the percentage = 21.3229%"]


class Quorvane(PageTest):
    page = "quorvane.html"

    def type_counts(self, k, n):
        """k, Tab, N: the Tab order takes the keys from one field to the next."""
        b = self.browser
        b.type_into("txtInput1", k)
        b.press("Tab")
        self.assertEqual(b.active_id(), "txtInput2")
        b.type_keys(n)

    def type_worked_example(self, grid=WORKED_GRID):
        self.type_counts("1", "10")
        for (column, row), text in grid.items():
            self.browser.type_into(f"grdData-{column}-{row}", text, replace=True)

    def wait_matrix(self):
        b = self.browser
        b.wait_until(lambda: b.script("return document.getElementById('matrixDialog').open"),
                     "the matrix dialog to open")

    def compute_with_correlation(self, text="0.6"):
        b = self.browser
        b.click("cmdCompute")
        self.wait_matrix()
        b.type_into("mat1x2", text, replace=True)
        b.click("CloseBtn")

    def test_worked_example_gives_readme_figures_and_save_output_the_golden_bytes(self):
        self.type_worked_example()
        self.compute_with_correlation()
        self.assert_report(WORKED)
        report = self.browser.reports()[0].split("\n")
        for line in README_FIGURES:
            self.assertIn(line, report)
        self.assertEqual(self.browser.download("cmdSaveOutput", "results.txt"), saved_output(WORKED))

    def test_second_visit_restores_the_inputs_and_clear_data_forgets_them(self):
        b = self.browser
        self.type_worked_example()
        self.compute_with_correlation()
        b.wait_results()
        b.reload()
        self.assertEqual(b.element("cmdCompute").text, "Continue")
        self.assertEqual((b.value("txtInput1"), b.value("txtInput2")), ("1", "10"))
        for (column, row), text in WORKED_GRID.items():
            self.assertEqual(float(b.value(f"grdData-{column}-{row}")), float(text), (column, row))
        b.click("cmdCompute")
        self.wait_matrix()
        self.assertEqual(float(b.value("mat1x2")), 0.6)
        b.click("CloseBtn")
        self.assert_report(WORKED)

        b.click("cmdReturn")
        b.wait_until(lambda: b.element("worksheet").is_displayed(), "the worksheet to come back")
        b.click("btnclearData")
        self.assertEqual(b.wait_message().focused, "No")  # Yes discards: No is the default
        b.press("Escape")
        b.wait_until(lambda: b.message() is None, "Escape to answer No")
        self.assertEqual(b.value("txtInput2"), "10")
        b.click("btnclearData")
        b.wait_message()
        b.answer("Yes")
        self.assertEqual(b.value("txtInput2"), "")
        b.reload()
        self.assertEqual((b.value("txtInput2"), b.element("cmdCompute").text), ("", "Compute"))

    def test_bad_values_give_the_desktops_boxes_and_the_field_keeps_the_focus(self):
        b = self.browser
        sd_zero = dict(WORKED_GRID)
        sd_zero[(3, 0)] = "0"
        cases = [
            ("a letter typed", lambda: self.type_counts("1", "1a"), "Warning",
             "INPUT ERROR\r\rEnter numeric data only.", "txtInput2"),
            ("an SD of 0", lambda: (self.type_worked_example(sd_zero), b.click("cmdCompute")), "Warning",
             "INPUT ERROR\r(  SD  0.000  )\rStandard deviations must have a positive value.", "grdData-3-0"),
            ("too many covariates", lambda: (self.type_counts("5", "5"), b.click("cmdCompute")), "Error",
             " With a control sample size of  5, the maximum number of covariates is  3 ", "txtInput1"),
        ]
        for name, act, caption, text, focus in cases:
            with self.subTest(name):
                self.first_visit()
                act()
                self.assert_box(caption, text)
                b.answer("Ok")
                self.assertEqual(b.active_id(), focus)
                self.assertFalse(b.results_visible())
                self.assertFalse(b.script("return document.getElementById('matrixDialog').open"))
        self.assertEqual(b.value("txtInput2"), "5")

    def test_pasted_grid_block_and_lower_triangle_give_the_typed_report(self):
        b = self.browser
        self.type_counts("1", "10")
        b.paste_into("grdData-1-0", "Task\t50\t10\t40\t55\r\nCov 1\t10\t2\t12\t9\r\n")
        self.assertEqual((b.value("grdData-1-1"), b.value("grdData-5-1")), ("Cov 1", "9"))
        b.click("cmdCompute")
        self.wait_matrix()
        b.paste_into("mat1x2", "1\r\n0,6\t1\r\n")  # a lower triangle with decimal commas
        self.assertEqual(b.value("mat1x2"), "0,6")  # as the desktop's cell takes it
        b.click("CloseBtn")
        self.assert_report(WORKED)


if __name__ == "__main__":
    unittest.main()
