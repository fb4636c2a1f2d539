// Identifiers of any length are stored by their last 256 bytes of UTF-8,
// never cut inside a character, whether the file is UTF-8 or CP932.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/MeasurementReader.h"

namespace korimo::testing {
namespace {

std::string Repeat(const std::string& text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i)
    out += text;
  return out;
}

std::vector<std::string> StoredIds(std::string file, int patches) {
  file = "SAMPLE_NAME LAB_L LAB_A LAB_B\r\nBEGIN_DATA\r\n" + file + "END_DATA\r\n";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(::fmemopen(file.data(), file.size(), "rb"),
                                                         &std::fclose);
  auto data = std::make_unique<ComparisonData>();
  EXPECT_EQ(ReadMeasurementStream(stream.get(), 0, *data, {}).patches, patches);
  return {data->PatchId.begin(), data->PatchId.begin() + patches};
}

TEST(IdentifierBound, TheLast256BytesAtACharacterBoundaryInEitherEncoding) {
  const std::string e = "é", ha = "ｱ", ki = "基";  // 2, 3 and 3 bytes in UTF-8
  const std::vector<std::string> utf8 =
      StoredIds(Repeat(e, 200) + " 50 0 0\r\nx" + Repeat(e, 200) + " 50 0 0\r\n" +
                    std::string(300, 'x') + ki + " 50 0 0\r\n",
                3);
  EXPECT_EQ(utf8,
            (std::vector<std::string>{Repeat(e, 128), Repeat(e, 128), std::string(253, 'x') + ki}));
  // In CP932 "ｱ" is the one byte B1 and "基" the two bytes 8A EE.
  const std::string kiCp932 = "\x8A\xEE";
  const std::vector<std::string> cp932 =
      StoredIds(Repeat("\xB1", 300) + " 50 0 0\r\n" + std::string(300, 'A') + kiCp932 +
                    " 50 0 0\r\n" + std::string(300, '0') + kiCp932 + " 50 0 0\r\n" +
                    Repeat(kiCp932, 100) + "1" + Repeat(kiCp932, 150) + " 50 0 0\r\nA1 50 0 0\r\n",
                5);
  EXPECT_EQ(cp932, (std::vector<std::string>{Repeat(ha, 85), std::string(253, 'A') + ki,
                                             std::string(253, '0') + ki, Repeat(ki, 85), "A1"}));
}

}  // namespace
}  // namespace korimo::testing
