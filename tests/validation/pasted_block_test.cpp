#include "validation/pasted_block.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = tPastedRows;

// The texts below the diagonal, row by row.
std::vector<std::string> Below(const tPastedMatrix& m) {
  std::vector<std::string> texts;
  for (int r = 2; r <= m.order; ++r)
    for (int c = 1; c < r; ++c) texts.push_back(m.Below(r, c));
  return texts;
}

std::string Problem(const std::string& text, int order = 3) { return ReadPastedCorrelations(text, order).problem; }

TEST(PastedBlock, CellsAtTabsOrAtBlanksAndCommas) {
  // A spreadsheet's copy: tabs, empty cells in place, a line end after the last row.
  EXPECT_EQ(SplitPastedBlock("Task\t50\t\r\n\t 2,5 \t9\r\n"), (Rows{{"Task", "50", ""}, {"", "2,5", "9"}}));
  // A paper's table: blanks; commas separate where points mark decimals or a blank follows them.
  EXPECT_EQ(SplitPastedBlock(".60  .30\n\n0.1,0.2\n"), (Rows{{".60", ".30"}, {}, {"0.1", "0.2"}}));
  EXPECT_EQ(SplitPastedBlock("1, 2,3"), (Rows{{"1", "2", "3"}}));
  EXPECT_EQ(SplitPastedBlock("0,60 0,30"), (Rows{{"0,60", "0,30"}}));
  EXPECT_TRUE(IsPastedBlock("1\t2"));
  EXPECT_TRUE(IsPastedBlock("1\n2"));
  EXPECT_FALSE(IsPastedBlock(" 0.6\r\n"));
  EXPECT_FALSE(IsPastedBlock(""));
}

// Every shape of the same matrix fills the same cells.
TEST(PastedBlock, EveryShapeOfAMatrixGivesTheCellsBelowTheDiagonal) {
  const std::vector<std::string> expected = {".5", "0.3", "-0.2"};
  for (const std::string text : {
           "1\n.5\t1\n0.3\t-0.2\t1\n",               // lower triangle with the diagonal
           ".5\n0.3 -0.2",                            // lower triangle without it
           "1\t.5\t0.3\r\n\t1\t-0.2\r\n\t\t1\r\n",    // upper triangle, as a spreadsheet copies it
           ".5 0.3\n-0.2\n",                          // upper triangle without the diagonal
           "\u2014 .5 0.3\n.5 \u2014 -0.2\n0.3 -0.2 1",  // whole, dashes on the diagonal
       }) {
    const tPastedMatrix m = ReadPastedCorrelations(text, 3);
    EXPECT_EQ(m.problem, "") << text;
    EXPECT_EQ(Below(m), expected) << text;
  }
  EXPECT_EQ(Below(ReadPastedCorrelations("0,6", 2)), std::vector<std::string>{"0,6"});
}

TEST(PastedBlock, TheFirstCellThatDoesNotFitIsNamedAndNothingIsTaken) {
  EXPECT_EQ(Problem("1\n0.5 1\n0.3 0.2\n"),
            "Nothing was pasted: the clipboard holds 3 rows of 1, 2 and 2 numbers. The correlation matrix of 3 "
            "variables is pasted whole (3 rows of 3 numbers), or as its lower or upper triangle, with the diagonal "
            "(rows of 1 to 3 numbers) or without it (rows of 1 to 2).");
  EXPECT_EQ(Problem("0.5\n0.3 abc"),
            "Nothing was pasted: \"abc\", in row 3, column 2 of the matrix, is not a number.");
  EXPECT_EQ(Problem("0.5\n1.0 0.2"),
            "Nothing was pasted: \"1.0\", in row 3, column 1 of the matrix, lies outside the range.\rValid matrix "
            "values are BETWEEN -1 and +1. Please re-enter matrix values");
  EXPECT_EQ(Problem("0.5\n0.604938 0.2"),
            "Nothing was pasted: \"0.604938\", in row 3, column 1 of the matrix, is longer than the 6 characters a "
            "cell holds: round the values before copying them.");
  EXPECT_EQ(Problem("x\n0.5 1\n0.3 0.2 1"), "Nothing was pasted: \"x\", in row 1, column 1 of the matrix, is not a "
                                          "number.");
  EXPECT_EQ(Problem("1 .5 .3\n.5 1 .2\n.3 .25 1"),
            "Nothing was pasted: the matrix is not symmetric: row 2, column 3 holds .2, and row 3, column 2 holds .25.");
}

}  // namespace
