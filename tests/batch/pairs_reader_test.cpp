#include "batch/pairs_reader.h"

#include <gtest/gtest.h>

TEST(PairsReader, LabelIsOptionalAndCommentsAndBlankLinesAreSkipped) {
  const std::string text =
      "\xEF\xBB\xBF# pairs\r\n"
      "P1 40 12 55 9\r\n"
      "\r\n"
      "   # indented comment\n"
      "40\t12  55 12\r"
      "7 1 2 3 4\n"
      "   \n";
  const auto pairs = ReadPairs(text, 1);
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[0].line, 2);
  EXPECT_EQ(pairs[0].label, "P1");
  EXPECT_TRUE(pairs[0].Readable());
  EXPECT_EQ(pairs[0].caseA[1], 40.0L);
  EXPECT_EQ(pairs[0].caseA[2], 12.0L);
  EXPECT_EQ(pairs[0].caseB[1], 55.0L);
  EXPECT_EQ(pairs[0].caseB[2], 9.0L);
  EXPECT_EQ(pairs[1].line, 5);
  EXPECT_EQ(pairs[1].label, "");
  EXPECT_EQ(pairs[1].caseB[2], 12.0L);
  // Five fields for one covariate: the first is a label even when numeric.
  EXPECT_EQ(pairs[2].line, 6);
  EXPECT_EQ(pairs[2].label, "7");
  EXPECT_EQ(pairs[2].caseA[1], 1.0L);
  EXPECT_EQ(pairs[2].caseB[2], 4.0L);
}

TEST(PairsReader, ScoresFollowTheVariableOrderForSeveralCovariates) {
  const auto pairs = ReadPairs("x 1 2 3 4 5 6\n", 2);
  ASSERT_EQ(pairs.size(), 1u);
  ASSERT_TRUE(pairs[0].Readable()) << pairs[0].problem;
  EXPECT_EQ(pairs[0].caseA[3], 3.0L);
  EXPECT_EQ(pairs[0].caseB[1], 4.0L);
  EXPECT_EQ(pairs[0].caseB[3], 6.0L);
}

TEST(PairsReader, BadLinesAreKeptInPlaceWithWhatIsWrong) {
  const auto pairs = ReadPairs(
      "a 40 12 55\n"           // one score short
      "40 12 55 9 1 2\n"       // two too many
      "b 4,0 12 55 9\n"        // decimal comma
      "c 40 12 55 x9\n"        // not a number
      "d 40 12 55 " + std::string(70, '9') + "\n"
      "ok 40 12 55 9\n"
      "\xFF 40 12 55 9\n",
      1);
  ASSERT_EQ(pairs.size(), 7u);
  EXPECT_EQ(pairs[0].problem,
            "3 scores found, 4 expected: Case A's 2, then Case B's 2 (task of interest first, then 1 "
            "covariate), optionally after a label.");
  EXPECT_NE(pairs[1].problem.find("6 scores found, 4 expected"), std::string::npos);
  EXPECT_NE(pairs[2].problem.find("Case A's score on the task of interest \"4,0\" is not a number"),
            std::string::npos);
  EXPECT_NE(pairs[3].problem.find("Case B's score on covariate 1 \"x9\" is not a number"), std::string::npos);
  EXPECT_NE(pairs[4].problem.find("too long to be a number"), std::string::npos);
  EXPECT_TRUE(pairs[5].Readable());
  EXPECT_EQ(pairs[6].problem, "the label is not valid UTF-8 text.");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(pairs[i].line, i + 1);
}
