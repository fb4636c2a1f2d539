#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "cli/BatchRun.h"
#include "support/Cxf3Text.h"
#include "support/TestCharts.h"

namespace korimo::testing {
namespace {

using Json = nlohmann::ordered_json;

// A CGATS file declaring D50, 2° and M1 with the given columns and rows.
std::string Cgats(const std::string& fields, const std::vector<std::string>& rows) {
  std::string text =
      "CGATS.17\nILLUMINANT D50\nOBSERVER 2\nMEASUREMENT_CONDITION M1\n"
      "BEGIN_DATA_FORMAT\n" +
      fields + "\nEND_DATA_FORMAT\nBEGIN_DATA\n";
  for (const std::string& row : rows)
    text += row + "\n";
  return text + "END_DATA\n";
}

std::string SpectralFields() {
  std::string fields = "SAMPLE_NAME";
  for (int nm = 400; nm <= 700; nm += 10)
    fields += " SPECTRAL_NM" + std::to_string(nm);
  return fields;
}

std::string Flat(const std::string& name, const std::string& value) {
  std::string row = name;
  for (int i = 0; i < 31; ++i)
    row += " " + value;
  return row;
}

// The file compared with itself, as the batch tool's JSON, and each set's
// format.
Json JsonOf(const TempDir& dir, const std::string& name, const std::string& text) {
  const std::string path = dir.Write(name, text);
  const BatchOutcome run = RunCommandLine({"--format", "json", path, path});
  EXPECT_EQ(run.ExitCode(), 0) << name;
  return Json::parse(run.output);
}

// The same chart as CxF3 and as CGATS gives the same JSON apart from the
// path, the format and the RGB scale only CxF3 states: L*a*b* under one of
// two specifications with CMYK, XYZ, spectra, and colour objects linked to
// RGB device-value objects.
TEST(JsonReport, CxfAndCgatsOfOneChartGiveOneReport) {
  const struct {
    std::string cxf, cgats;
  } cases[] = {
      {LabFile(),
       Cgats("SAMPLE_NAME CMYK_C CMYK_M CMYK_Y CMYK_K LAB_L LAB_A LAB_B",
             {"A1 0 0 0 0 95.12 -0.48 2.33", "A2 100 0 0 0 50 10 -20", "A3 0 0 0 100 29 1 2"})},
      {File(Object("X1", Xyz("0.4124", "0.2126", "0.0193")) +
                Object("X2", Xyz("0.9642", "1", "0.8251")),
            Conditions("CS_M1", "M1_Daylight")),
       Cgats("SAMPLE_NAME XYZ_X XYZ_Y XYZ_Z", {"X1 0.4124 0.2126 0.0193", "X2 0.9642 1 0.8251"})},
      {SpectralFile(), Cgats(SpectralFields(), {Flat("G50", "0.5"), Flat("G20", "0.2")})},
      {LinkedFile(), Cgats("SAMPLE_NAME RGB_R RGB_G RGB_B LAB_L LAB_A LAB_B",
                           {"M1_3 255 0 0 51 0 0", "M1_1 255 255 255 96 0 0", "M1_2 0 0 0 6 0 0"})},
  };
  TempDir dir("cxf-json");
  for (const auto& c : cases) {
    Json cxf = JsonOf(dir, "chart.cxf", c.cxf);
    Json cgats = JsonOf(dir, "chart.txt", c.cgats);
    for (Json* report : {&cxf, &cgats}) {
      for (Json& set : (*report)["sets"]) {
        set.erase("path");
        set.erase("format");
      }
    }
    for (std::size_t s : {0, 1}) {
      Json& device = cxf["sets"][s]["device"];
      if (device.is_object() && device["space"] == "RGB") {
        EXPECT_EQ(device["max_range"], 255);
        device.erase("max_range");
      }
    }
    EXPECT_EQ(cxf.dump(1), cgats.dump(1));
  }
  const Json formats = JsonOf(dir, "chart.cxf", LabFile())["sets"];
  EXPECT_EQ((std::vector<Json>{formats[0]["format"], formats[1]["format"], formats[2]["format"]}),
            (std::vector<Json>{"cxf3", "cxf3", nullptr}));
}

}  // namespace
}  // namespace korimo::testing
