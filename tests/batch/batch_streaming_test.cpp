// A batch run reads, analyses and writes its pairs a chunk at a time: the
// memory it holds does not grow with the number of pairs.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>

#include "batch/batch_command.h"
#include "batch_test_support.h"

namespace {

// Bytes allocated, from the heap and as mapped blocks.
std::size_t HeapInUse() {
#if defined(__EMSCRIPTEN__)  // its C library has the older form only
  const struct mallinfo info = mallinfo();
#else
  const struct mallinfo2 info = mallinfo2();
#endif
  return info.uordblks + info.hblkhd;
}

// The most memory in use seen while the run read or wrote.
std::size_t peak = 0;
void NotePeak() { peak = std::max(peak, HeapInUse()); }

// Pair lines made as they are read, the most memory in use noted on the
// way: the input of a run that never exists whole.
class tGeneratedPairs : public std::streambuf {
 public:
  explicit tGeneratedPairs(int lines) : lines_(lines) {}

 protected:
  int_type underflow() override {
    if (next_ >= lines_) return traits_type::eof();
    NotePeak();
    // One line in a hundred is a pair the analysis takes; the others hold a
    // score too few and are reported.
    const int i = next_++;
    line_ = i % 100 == 0 ? "p" + std::to_string(i) + " 40 12 55 12\n" : "p" + std::to_string(i) + " 40 12 55\n";
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }

 private:
  int lines_;
  int next_ = 0;
  std::string line_;
};

// Output that is counted and thrown away; the last line is kept.
class tCountedOutput : public std::streambuf {
 public:
  std::size_t bytes = 0;
  std::string lastLine, line;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return 0;
    if (++bytes % 4096 == 0) NotePeak();
    if (c == '\n') {
      lastLine = line;
      line.clear();
    } else {
      line += traits_type::to_char_type(c);
    }
    return c;
  }
};

}  // namespace

TEST(BatchStreaming, MemoryDoesNotGrowWithThePairs) {
  const std::size_t before = HeapInUse();
  std::string probe(1 << 20, 'x');
  if (HeapInUse() < before + (1 << 20)) GTEST_SKIP() << "the allocator does not report its use";
  const tScratchFolder scratch("streaming");
  const std::string controls = WriteFile(scratch.Path() / "controls.txt", WorkedRawControls);

  constexpr int lines = 100000;
  tGeneratedPairs input(lines);
  tCountedOutput output, errors;
  std::istream in(&input);
  std::ostream out(&output), err(&errors);
  const std::size_t start = HeapInUse();
  const int status = RunQuorvBatch({"raw", controls, "1", "-", "--keep-going", "--jobs", "2"}, in, out, err);
  EXPECT_EQ(status, BatchExitBadPair);
  EXPECT_EQ(errors.lastLine, "quorv-batch: 99000 of 100000 pairs could not be analysed.");
  EXPECT_GT(output.bytes, 1000u * 150);
  // All the pairs held at once took about 70 MB.
  EXPECT_LT(peak, start + (std::size_t{16} << 20));
}
