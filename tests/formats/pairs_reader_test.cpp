#include "formats/pairs_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "core/text_file.h"
#include "tests/support/temp_folder.h"

TEST(PairsReader, LabelIsOptionalAndCommentsAndBlankLinesAreSkipped) {
  const std::string text =
      "\xEF\xBB\xBF# pairs\r\n"
      "P1 40 12 55 9\r\n"
      "\r\n"
      "   # indented comment\n"
      "40\t12  55 12\r"
      "7 1 2 3 4\n"
      "   \n";
  std::string problem;
  const auto pairs = ReadPairs(text, 1, &problem);
  EXPECT_EQ(problem, "");
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
  // One score too many: a label is never a number, so nothing shifts
  // into the wrong place.
  EXPECT_EQ(pairs[2].line, 6);
  EXPECT_EQ(pairs[2].problem,
            "5 scores found, 4 expected: Case A's 2, then Case B's 2 (task of interest first, then 1 covariate), "
            "optionally after a label. A label must not be a number: \"7\" was read as a score.");
}

// What spreadsheets save as "Unicode text", read in the pieces a pipe
// gives: the same pairs.
TEST(PairsReader, Utf16TextGivesTheSamePairs) {
  const std::string text = "P1 40 12 55 9\r\n40 12 55 12\r\n";
  std::string wide = "\xFF\xFE";
  for (char c : text) wide += std::string{c, '\0'};
  const auto pairs = ReadPairs(wide, 1);
  ASSERT_EQ(pairs.size(), 2u);
  EXPECT_EQ(pairs[0].label, "P1");
  EXPECT_EQ(pairs[1].caseB[2], 12.0L);
  std::string problem;
  EXPECT_TRUE(ReadPairs(std::string("40 12 55 9\n\0\x01\x02", 14), 1, &problem).empty());
  EXPECT_NE(problem.find("not plain text"), std::string::npos);
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
      "\xFF 40 12 55 9\n"
      "e 40 12\xC2\xA0" "5 55 9\n"
      "f 40 " + std::string(MaxPairLineLength, '1') + "\n",
      1);
  ASSERT_EQ(pairs.size(), 9u);
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
  EXPECT_EQ(pairs[7].problem,
            "Case A's score on covariate 1 \"12\xC2\xA0" "5\" is not a number: it holds a non-breaking space (U+00A0) "
            "(write numbers with a point as the decimal mark, for example 12.5).");
  EXPECT_EQ(pairs[8].problem, "the line is longer than 4096 characters.");
  for (int i = 0; i < 9; ++i) EXPECT_EQ(pairs[i].line, i + 1);
}

// Only blanks and tabs separate a line's fields: a control character in a
// label is named, not taken for a separator that adds a score.
TEST(PairsReader, ControlCharacterInALabelIsRefusedByName) {
  for (auto [line, code] : {std::pair<const char*, const char*>{"ctl\x01z 40 12 55 9", "U+0001"},
                            {"a\vb 40 12 55 9", "U+000B"}, {"\fab\t40 12 55 9", "U+000C"},
                            {"ab\x7F 40 12 55 9", "U+007F"}, {"ab\xC2\x85 40 12 55 9", "U+0085"}}) {
    const auto pairs = ReadPairs(std::string(line) + "\n", 1);
    ASSERT_EQ(pairs.size(), 1u) << line;
    EXPECT_NE(pairs[0].problem.find(std::string("holds a control character (") + code + ")"), std::string::npos)
        << pairs[0].problem;
  }
  EXPECT_EQ(ReadPairs("ctl\x01z 40 12 55 9\n", 1)[0].problem,
            "the label \"ctl<U+0001>z\" holds a control character (U+0001): a label is one word of printable "
            "characters.");
}

// A pairs file cut short while the run reads it (an editor saving over
// it): the run says so, and takes no cut line for a pair with few scores.
TEST(PairsReader, FileCutShortWhileReadIsNamedAsChanged) {
  tTempFolder folder;
  const std::string path = folder.Path() + "/pairs.txt";
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "P1 40 12 55 9\n";  // 14 bytes a line
  std::ofstream(path, std::ios::binary) << text;
  tInputFile file;
  OpenInputFile(path, tSpecialFiles::Read, file);
  bool cut = false;
  tPairsReader reader(
      [&](char* buffer, std::size_t, std::string& reason) {
        const long long got = file.Read(buffer, 4096, reason);
        cut = cut || ::truncate(path.c_str(), 14 * 500 + 4) == 0;  // within line 501
        return got;
      },
      1);
  for (tPairEntry entry; reader.Next(entry);) EXPECT_TRUE(entry.Readable()) << entry.line << entry.problem;
  EXPECT_TRUE(cut);
  EXPECT_EQ(reader.Problem(),
            "the file changed while it was read: it ended after 7004 of the 14000 bytes it had when it was opened");
}
