#include "export/StatisticsCopy.h"

#include <gtest/gtest.h>

#include "app/ChartMouse.h"
#include "support/EngineDriver.h"
#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

// The row copies (clear, message, then the frame's texts, in that order) are
// in the window trace, whose steps click every copy button; WindowTests checks
// that each copies its own pair.

// The area copy as the box's text defines it: each of the first three figures
// runs from after an "=" up to and including the blank after it, the fourth
// is the rest of the text.
std::string CopyOfBoxText(const std::string& s) {
  const auto npos = std::string::npos;
  const std::size_t a = s.find('=');
  const std::size_t b = a == npos ? npos : s.find(' ', a);
  const std::size_t c = b == npos ? npos : s.find('=', b);
  const std::size_t d = c == npos ? npos : s.find(' ', c);
  const std::size_t f = d == npos ? npos : s.find('=', d);
  const std::size_t g = f == npos ? npos : s.find(' ', f);
  const std::size_t h = g == npos ? npos : s.find('=', g);
  if (h == npos)
    return {};
  return s.substr(a + 1, b - a) + "\t" + s.substr(c + 1, d - c) + "\r\n" + s.substr(f + 1, g - f) +
         "\t" + s.substr(h + 1);
}

// The copy is made from the figures the box was written from; it agrees with
// the text's reading except where an identifier holds "=", which throws the
// reading off while the figures stay right.
TEST(StatisticsCopy, AreaCopyIsTheBoxsFiguresEvenWhereItsTextMisleads) {
  struct Case {
    std::string corners;
    double avgAb, maxAb, avg00, max00;
    std::string copied;
  };
  const Case cases[] = {
      {"A1-A6:F1-F6", 1.23, 4.56, 0.78, 2.34, "1.23 \t4.56 \r\n0.78 \t2.34"},
      {"P 1-P 2:P 9-P 10", 0.004, 0.005, 0, 12.345, "0.00 \t0.01 \r\n0.00 \t12.35"},
      {"紙白-Cyan 100%:K 50-K 50", 12.3, 99.999, 7.5, 100, "12.30 \t100.00 \r\n7.50 \t100.00"},
      {"-:-", 0.125, 1.995, 2.675, 3.005, "0.13 \t2.00 \r\n2.68 \t3.01"},
      {"a=b-c:d-e", 1.23, 4.56, 0.78, 2.34, "1.23 \t4.56 \r\n0.78 \t2.34"},
      {"x-y:K=50-K=100", 0.5, 1, 1.5, 2, "0.50 \t1.00 \r\n1.50 \t2.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.corners);
    const AreaFigures area{c.corners, 4, c.avgAb, c.maxAb, c.avg00, c.max00};
    EXPECT_EQ(AreaCopyText(area), c.copied);
    const bool misleading = c.corners.find('=') != std::string::npos;
    EXPECT_EQ(CopyOfBoxText(AreaBoxText(area)) == c.copied, !misleading);
    FakePlatform platform;
    But_CPArea_Click(area, platform);
    EXPECT_EQ(platform.clipboardText, c.copied);
    EXPECT_EQ(platform.log, (Strings{"clear", "text", "message"}));
  }
  EXPECT_EQ(CopyOfBoxText(std::string(kAreaHint)), "");
  FakePlatform hint;
  But_CPArea_Click(std::nullopt, hint);  // the hint: nothing copied, nothing said
  EXPECT_EQ(hint.log, Strings{"clear"});
}

}  // namespace
}  // namespace korimo::testing
