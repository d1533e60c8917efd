// Report numbers keep "." as the decimal mark whatever locale the program
// runs in: the windowing toolkit installs the user's locale at start-up,
// and a locale with a decimal comma must not change a report or a saved
// file.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <thread>

#include "core/text_format.h"

namespace {

// Installs a locale with a decimal comma for the life of the object; the
// test is skipped where none is installed (./dev makes de_DE.UTF-8).
class tCommaLocale {
 public:
  tCommaLocale() {
    const char* old = std::setlocale(LC_ALL, nullptr);
    saved_ = old != nullptr ? old : "C";
    active_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  }
  ~tCommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_ = false;
};

}  // namespace

TEST(FormatC, DecimalPointSurvivesALocaleWithADecimalComma) {
  tCommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no German locale installed";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 2.5);
  ASSERT_EQ(std::string(probe), "2,5") << "the locale should use a decimal comma";

  EXPECT_EQ(FormatC("%5.3Lf", 2.5L), "2.500");
  EXPECT_EQ(FormatC(" t value (on %3.0Lf df) = %3.4Lf", 8.0L, -1.885618083L), " t value (on   8 df) = -1.8856");
  EXPECT_EQ(FormatC("%1.4Lf%%", 4.80358L), "4.8036%");
}

TEST(FormatC, FormatsTheSameOnSeveralThreads) {
  std::string first, second;
  std::thread a([&] { first = FormatC("%12.5Lf   ", -99999.999L); });
  std::thread b([&] { second = FormatC("%12.5Lf   ", -99999.999L); });
  a.join();
  b.join();
  EXPECT_EQ(first, "-99999.99900   ");
  EXPECT_EQ(second, first);
}
