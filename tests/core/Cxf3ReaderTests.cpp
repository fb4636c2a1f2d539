#include "core/Cxf3Reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "color/ColorDifference.h"
#include "core/MeasurementReader.h"
#include "support/Cxf3Text.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

std::string Replaced(std::string text, S from, S to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

std::string ReplacedAll(std::string text, S from, S to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
    text.replace(at, from.size(), to), at += to.size();
  return text;
}

// CIE L* of a relative luminance, by the κ/ε form of the formula.
double LightnessOf(double y) {
  return y > 216.0 / 24389.0 ? 116.0 * std::cbrt(y) - 16.0 : 24389.0 / 27.0 * y;
}

Measurement ReadCgatsText(std::string text) {
  std::FILE* stream = fmemopen(text.data(), text.size(), "rb");
  Measurement m = ReadMeasurementStream(stream);
  std::fclose(stream);
  return m;
}

class Cxf3Test : public ::testing::Test {
 protected:
  Measurement Read(S bytes) {
    return ReadCxf3(bytes, "chart.cxf", [this](std::string_view m) { notices_.emplace_back(m); });
  }
  std::vector<std::string> notices_;
};

// The values, device values, white and observer read are compared with the
// CGATS twin's, as the batch tool reports them, in JsonReportTests.
TEST_F(Cxf3Test, ReadsTheM1LabDeviceValuesAndNames) {
  const Measurement m = Read(LabFile());
  ASSERT_EQ(m.Count(), 3) << EnglishReason(m.failure);
  EXPECT_EQ((std::tuple{m.format, m.path, m.source, m.condition, m.colorSpecification}),
            (std::tuple{FileFormat::Cxf3, "chart.cxf", LabSource::Lab, Condition::M1, "CS_M1"}));
  EXPECT_EQ(m.lab[0], (LabValue{95.12F, -0.48F, 2.33F}));
  for (const IdentifierColumn* column : {&m.ids, &m.sampleName, &m.sampleId})
    EXPECT_EQ(*column, (IdentifierColumn{true, {"A1", "A2", "A3"}}));
  // Without an M1 ColorSpecification the first in document order serves.
  const Measurement m0 = Read(ReplacedAll(LabFile(), "M1_Daylight", "M2_UVExcluded"));
  EXPECT_EQ((std::tuple{m0.colorSpecification, m0.condition, m0.lab[0]}),
            (std::tuple{"CS_M0", Condition::M0, LabValue{95.5F, -0.5F, 2.25F}}));
}

std::string Utf16(S ascii, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (const char c : ascii)
    out += little ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}

// The same chart written with other prefixes, line ends and encodings, each
// told as XML by its first character.
TEST_F(Cxf3Test, ReadsTheSameChartHoweverItIsWritten) {
  const std::string file = LabFile();
  const std::string utf16 = Replaced(file, "UTF-8", "UTF-16");
  const std::pair<std::string, std::string> cases[] = {
      {ReplacedAll(ReplacedAll(file, "cc:", ""), "xmlns:cc", "xmlns"), "A1"},
      {ReplacedAll(ReplacedAll(file, "cc:", "x:"), "xmlns:cc", "xmlns:x"), "A1"},
      {ReplacedAll(ReplacedAll(file, "<cc:Object ",
                               "<o:Object xmlns:o=\"" + std::string(kNamespace) + "\" "),
                   "</cc:Object>", "</o:Object>"),
       "A1"},
      {"\xEF\xBB\xBF" + ReplacedAll(file, "\n", "\r\n"), "A1"},
      {"\n\n" + file.substr(file.find("<cc:CxF")), "A1"},  // no declaration
      {Utf16(utf16, true), "A1"},
      {Utf16(utf16, false), "A1"},
      {Replaced(Replaced(file, "UTF-8", "ISO-8859-1"), "Name=\"A1\"", "Name=\"Gr\xFCn\""), "Grün"},
      {utf16, "A1"},  // UTF-16 declared over UTF-8 bytes
  };
  for (const auto& [bytes, first] : cases) {
    SCOPED_TRACE(bytes.substr(0, 60));
    EXPECT_TRUE(LooksLikeXml(bytes));
    const Measurement m = Read(bytes);
    ASSERT_EQ(m.Count(), 3) << EnglishReason(m.failure);
    EXPECT_EQ(m.ids.values[0], first);
    EXPECT_EQ(m.lab[0], (LabValue{95.12F, -0.48F, 2.33F}));
  }
  const std::pair<std::string, bool> heads[] = {{" \r\n\t<CxF", true},
                                                {std::string("\xFF\xFE \0<\0", 6), true},
                                                {std::string("<\0?\0", 4), true},
                                                {"CGATS.17\n<", false},
                                                {"\xEF\xBB\xBFx<", false},
                                                {std::string("\xFF\xFEx\0<\0", 6), false},
                                                {"", false}};
  for (const auto& [head, xml] : heads)
    EXPECT_EQ(LooksLikeXml(head), xml) << head;
}

// XYZ on either scale under the stated white and observer reads as the
// CGATS reader reads the same values declared alike.
TEST_F(Cxf3Test, ComputesLabFromXyzAsFromCgats) {
  const std::array<std::string, 5> cases[] = {
      {"0.4124", "0.2126", "0.0193", "D50", "2_Degree"},
      {"41.24", "21.26", "1.93", "D65", "2_Degree"},
      {"18.05", "7.22", "95.05", "D65", "10_Degree"},
  };
  for (const auto& [x, y, z, illuminant, observer] : cases) {
    SCOPED_TRACE(x + " " + illuminant + " " + observer);
    const Measurement m = Read(
        File(Object("A1", Xyz(x, y, z)), Conditions("CS_M1", "M1_Daylight", illuminant, observer)));
    const Measurement cgats = ReadCgatsText(
        "ILLUMINANT " + illuminant + "\nOBSERVER " + observer.substr(0, observer.find('_')) +
        "\nXYZ_X XYZ_Y XYZ_Z\nBEGIN_DATA\n" + x + " " + y + " " + z + "\n");
    ASSERT_EQ((std::pair{m.Count(), cgats.Count()}), (std::pair{1, 1})) << EnglishReason(m.failure);
    EXPECT_EQ((std::tuple{m.source, m.lab}), (std::tuple{LabSource::Xyz, cgats.lab}));
  }
}

TEST_F(Cxf3Test, ComputesLabFromSpectraWithTheirOwnStartAndTheSpecificationsIncrement) {
  const std::string base = SpectralFile();
  const auto respread = [&base](int count, S start) {
    return Replaced(Replaced(base, Spectrum("0.5", 31), Spectrum("0.5", count, start)),
                    Spectrum("0.2", 31), Spectrum("0.2", count, start));
  };
  const std::string twenty =
      Replaced(respread(16, "400"),
               "<cc:MeasurementSpec><cc:WavelengthRange StartWL=\"400\" Increment=\"10\"/>",
               "<cc:WavelengthRange Increment=\"20\"/><cc:MeasurementSpec>");  // directly under it
  const std::pair<std::string, int> cases[] = {
      {base, 10},
      {ReplacedAll(ReplacedAll(base, "0.5", "50"), "0.2", "20"), 10},  // percent
      {respread(36, "380"), 10},
      {ReplacedAll(base, " StartWL=\"400\">", ">"), 10},  // the ColorSpecification's start
      {twenty, 20},
  };
  for (const auto& [file, step] : cases) {
    const Measurement m = Read(file);
    ASSERT_EQ(m.Count(), 2) << EnglishReason(m.failure);
    EXPECT_EQ((std::pair{m.source, m.spectralStepNm}), (std::pair{LabSource::Spectral, step}));
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(m.lab[0][k], k == 0 ? LightnessOf(0.5) : 0, 2e-4);
      EXPECT_NEAR(m.lab[1][k], k == 0 ? LightnessOf(0.2) : 0, 2e-4);
    }
  }
}

// 24 spectra whose stated L*a*b* was computed apart from the program (see
// data/make-reflectance.py): 0.00008 mean, 0.00017 max ΔE00, the stated values'
// four decimals. The same spectra read from CGATS give the same values.
TEST_F(Cxf3Test, SpectraAgreeWithTheirStatedLabAndWithTheSameSpectraReadFromCgats) {
  const std::string file = ReadAll(std::string(KORIMO_TEST_DATA_DIR) + "/reflectance-lab.cxf");
  const Measurement stated = Read(file);
  std::string spectral = file;
  for (std::size_t at; (at = spectral.find("<cc:ColorCIELab")) != std::string::npos;)
    spectral.erase(at, spectral.find("</cc:ColorCIELab>", at) + 17 - at);
  const Measurement computed = Read(spectral);
  ASSERT_EQ((std::pair{stated.Count(), computed.Count()}), (std::pair{24, 24}));
  EXPECT_EQ((std::pair{stated.source, computed.source}),
            (std::pair{LabSource::Lab, LabSource::Spectral}));
  double sum = 0, worst = 0;
  for (std::size_t i = 0; i < 24; ++i) {
    const LabValue &s = stated.lab[i], &c = computed.lab[i];
    const double de = Ciede2000(s[0], s[1], s[2], c[0], c[1], c[2]);
    sum += de;
    worst = std::max(worst, de);
  }
  EXPECT_LE(sum / 24, 0.001);
  EXPECT_LE(worst, 0.2);
  const Measurement cgats =
      ReadCgatsText(ReadAll(std::string(KORIMO_TEST_DATA_DIR) + "/reflectance-lab.txt"));
  EXPECT_EQ(computed.lab, cgats.lab);
}

TEST_F(Cxf3Test, LinksColourObjectsOfOneConditionToTheirDeviceValues) {
  const std::string linked = LinkedFile();
  std::string byName = ReplacedAll(ReplacedAll(linked, "<cc:TagCollection", "<cc:Ignored"),
                                   "</cc:TagCollection>", "</cc:Ignored>");
  for (const char* n : {"1", "2", "3"})
    byName = Replaced(byName, std::string("Name=\"Target") + n, std::string("Name=\"M1_") + n);
  const std::pair<std::string, float> cases[] = {
      {linked, 255},
      {byName, 255},
      {ReplacedAll(linked, "<cc:R>", "<cc:MaxRange>1023</cc:MaxRange><cc:R>"), 1023},
  };
  for (const auto& [file, maxRange] : cases) {
    const Measurement m = Read(file);
    ASSERT_EQ(m.Count(), 3) << EnglishReason(m.failure);
    EXPECT_EQ(m.ids.values, (std::vector<std::string>{"M1_3", "M1_1", "M1_2"}));
    EXPECT_EQ((std::vector<float>{m.lab[0][0], m.lab[1][0], m.lab[2][0]}),
              (std::vector<float>{51, 96, 6}));
    EXPECT_EQ((std::tuple{m.condition, m.device.space, m.device.maxRange}),
              (std::tuple{Condition::M1, DeviceSpace::Rgb, maxRange}));
    EXPECT_EQ(m.device.values, (std::vector<std::array<float, 4>>{
                                   {255, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}}));
  }
}

// One change of a valid file per case: the failure and what its reason names.
TEST_F(Cxf3Test, RefusesBrokenFilesNamingWhatIsWrong) {
  const std::string lab = LabFile(), spectral = SpectralFile(), linked = LinkedFile();
  const std::string a2 = Lab("CS_M1", "50", "10", "-20");
  using F = ReadFailure;
  const std::tuple<std::string, F, std::string> cases[] = {
      {ReplacedAll(lab, "CxF3-core", "CxF3-cor"), F::NotCxf3,
       "cc:CxF xmlns=\"http://colorexchangeformat.com/CxF3-cor\""},
      {Replaced(lab, "CxF3-core", "v2"), F::NotCxf3,
       "cc:CxF xmlns=\"http://colorexchangeformat.com/v2\""},
      {Replaced(lab, "xmlns:cc=", "xmlns:c="), F::NotCxf3, "cc:CxF"},
      {ReplacedAll(lab, "cc:ObjectCollection>", "cc:Objects>"), F::NoObjectCollection, ""},
      {ReplacedAll(lab, "cc:ColorValues>", "cc:Values>"), F::NoColourObjects, ""},
      {Replaced(lab, "Id=\"CS_M1\"", "Id=\"CS_1\""), F::DanglingReference, "CS_M1"},
      {Replaced(lab, a2, Xyz("1", "1", "1")), F::MixedColourKinds, "A2"},  // another kind
      {Replaced(lab, a2, ""), F::MixedColourKinds, "A2"},                  // measured only under M0
      {Replaced(lab, "<cc:L>50<", "<cc:L>5O<"), F::NotANumber, "A2/L: \"5O\""},
      {Replaced(lab, "<cc:L>50<", "<cc:L>1e39<"), F::NotANumber, "A2/L: \"1e39\""},
      {Replaced(lab, a2, Replaced(a2, "<cc:B>-20</cc:B>", "")), F::NotANumber, "A2/B: \"\""},
      {lab.substr(0, 400), F::XmlMalformed, "6:"},
      {Replaced(lab, "<cc:CxF",
                "<!DOCTYPE cc:CxF [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>\n<cc:CxF"),
       F::XmlDoctype, ""},
      {Replaced(lab, "UTF-8", "Shift_JIS"), F::XmlEncoding, "Shift_JIS"},
      {Replaced(spectral, " Increment=\"10\"", ""), F::NoIncrement, "CS_M1"},
      {Replaced(spectral, Spectrum("0.2", 31), Spectrum("0.2", 30)), F::SpectralNarrow, ""},
      {Replaced(spectral, Spectrum("0.2", 31), Spectrum("0.2", 1025)), F::SpectrumTooLong, "G20"},
      {Replaced(spectral, ">0.2 ", ">0.2x "), F::NotANumber, "G20/ReflectanceSpectrum: \"0.2x\""},
      {Replaced(spectral, "D50", "F2"), F::UnknownIlluminant, "F2"},
      {Replaced(spectral, "2_Degree", "5_Degree"), F::UnknownObserver, "5_Degree"},
      {Replaced(linked, Target("Target3", 1, 0, Rgb(255, 0, 0)), Target("T3", 2, 0, Rgb(9, 9, 9))),
       F::LinkMissing, "M1_3"},
      {Replaced(linked, Target("Target2", 0, 1, Rgb(0, 0, 0)),
                Target("Target2", 0, 0, Rgb(0, 0, 0))),
       F::LinkAmbiguous, "M1_1"},
      {Replaced(linked, Measured("M1_2", "CS_M1", 0, 1, "6"), ""), F::LinkMissing, "Target2"},
  };
  for (const auto& [file, failure, detail] : cases) {
    const Measurement m = Read(file);
    EXPECT_EQ(m.failure.code, failure) << EnglishReason(m.failure);
    EXPECT_TRUE(m.failure.detail.starts_with(detail)) << m.failure.detail;
    EXPECT_EQ((std::tuple{m.Stored(), m.ids.present, m.device.space, m.source}),
              (std::tuple{false, false, DeviceSpace::None, LabSource::None}));
  }
  const FailureReason truncated = Read(lab.substr(0, 400)).failure;
  const std::size_t column = truncated.detail.find(':', 2);
  const std::string at = truncated.detail.substr(2, column - 2);
  EXPECT_EQ(EnglishReason(truncated),
            "malformed XML at line 6, column " + at + ":" + truncated.detail.substr(column + 1));
  EXPECT_TRUE(
      JapaneseReason(truncated).starts_with("XMLの形式に誤りがあります（6行" + at + "列："));
}

TEST_F(Cxf3Test, ThreeThousandPatchesIsTheLimitWithOneNotice) {
  const auto chart = [](int n) {
    std::string objects;
    for (int i = 0; i < n; ++i)
      objects += Object("P" + std::to_string(i), Lab("CS_M1", "50", "1", "2"));
    return File(objects, Conditions("CS_M1", "M1_Daylight"));
  };
  EXPECT_EQ(Read(chart(3000)).Count(), 3000);
  EXPECT_TRUE(notices_.empty());
  const Measurement m = Read(chart(3001));
  EXPECT_EQ((std::tuple{m.Count(), m.cutAt3000, m.ids.values.back()}),
            (std::tuple{3000, true, "P2999"}));
  EXPECT_EQ(notices_, std::vector<std::string>{std::string(kTooManyPatchesMessage)});
}

// Files nobody writes on purpose end with a reason, in bounded memory.
TEST_F(Cxf3Test, HostileFilesEndWithAReasonInBoundedMemory) {
  const std::string head =
      std::string("<?xml version=\"1.0\"?>\n<cc:CxF xmlns:cc=\"") + kNamespace + "\">";
  const auto filled = [&](S open, S unit, std::size_t bytes) {
    std::string out = head + open;
    out.reserve(bytes);
    while (out.size() + unit.size() <= bytes)
      out += unit;
    return out;
  };
  const std::pair<std::string, ReadFailure> cases[] = {
      {std::string(kMaxCxfBytes + 1, ' '), ReadFailure::CxfTooLarge},
      {filled("", "<a>", kMaxCxfBytes), ReadFailure::XmlTooLarge},  // deep nesting
      {filled("<cc:Resources>", "<b/>", kMaxCxfBytes), ReadFailure::XmlTooLarge},
      {filled("<cc:Resources x=\"", "yyyyyyyy", kMaxCxfBytes - 100) + "\"/></cc:CxF>",
       ReadFailure::NoObjectCollection},
      // Many namespace declarations on one object.
      {filled("<cc:Resources><cc:ObjectCollection><cc:Object ", "xmlns:q1=\"u\" ", 4 << 20) +
           "><cc:ColorValues/></cc:Object></cc:ObjectCollection></cc:Resources></cc:CxF>",
       ReadFailure::MixedColourKinds},
  };
  for (const auto& [file, failure] : cases) {
    const long before = PeakRssKb();
    const auto start = std::chrono::steady_clock::now();
    const Measurement m = Read(file);
    EXPECT_EQ(m.failure.code, failure) << EnglishReason(m.failure);
    EXPECT_LT(PeakRssKb() - before, 100 * 1024 - static_cast<long>(file.size() >> 10));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  }
}

}  // namespace
}  // namespace korimo::testing
