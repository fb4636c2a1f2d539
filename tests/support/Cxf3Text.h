#pragma once

// CxF3 files written in tests: objects, colour and device values, colour
// specifications, and the files built of them.

#include <string>
#include <utility>
#include <vector>

namespace korimo::testing {

using S = const std::string&;
inline constexpr char kNamespace[] = "http://colorexchangeformat.com/CxF3-core";

inline std::string Object(S name, S values, S more = "") {
  return "<cc:Object ObjectType=\"Target\" Name=\"" + name + "\" Id=\"id-" + name +
         "\">\n<cc:ColorValues>" + values + "</cc:ColorValues>" + more + "</cc:Object>\n";
}

inline std::string Lab(S ref, S l, S a, S b) {
  return "<cc:ColorCIELab ColorSpecification=\"" + ref + "\"><cc:L>" + l + "</cc:L><cc:A>" + a +
         "</cc:A><cc:B>" + b + "</cc:B></cc:ColorCIELab>";
}

inline std::string Xyz(S x, S y, S z) {
  return "<cc:ColorCIEXYZ ColorSpecification=\"CS_M1\"><cc:X>" + x + "</cc:X><cc:Y>" + y +
         "</cc:Y><cc:Z>" + z + "</cc:Z></cc:ColorCIEXYZ>";
}

inline std::string Device(S space, const std::vector<std::pair<std::string, int>>& values) {
  std::string out = "<cc:DeviceColorValues><cc:Color" + space + " ColorSpecification=\"U\">";
  for (const auto& [name, value] : values)
    out += "<cc:" + name + ">" + std::to_string(value) + "</cc:" + name + ">";
  return out + "</cc:Color" + space + "></cc:DeviceColorValues>";
}

inline std::string Cmyk(int c, int m, int y, int k) {
  return Device("CMYK", {{"Cyan", c}, {"Magenta", m}, {"Yellow", y}, {"Black", k}});
}

inline std::string Rgb(int r, int g, int b) {
  return Device("RGB", {{"R", r}, {"G", g}, {"B", b}});
}

inline std::string Conditions(S id, S condition, S illuminant = "D50", S observer = "2_Degree") {
  return "<cc:ColorSpecification Id=\"" + id + "\"><cc:TristimulusSpec><cc:Illuminant>" +
         illuminant + "</cc:Illuminant><cc:Observer>" + observer +
         "</cc:Observer></cc:TristimulusSpec><cc:MeasurementSpec><cc:WavelengthRange "
         "StartWL=\"400\" Increment=\"10\"/><cc:Device><cc:DeviceIllumination>" +
         condition + "</cc:DeviceIllumination></cc:Device></cc:MeasurementSpec>" +
         "</cc:ColorSpecification>\n";
}

inline std::string File(S objects, S specs) {
  return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<cc:CxF xmlns:cc=\"") +
         kNamespace + "\">\n<cc:Resources>\n<cc:ObjectCollection>\n" + objects +
         "</cc:ObjectCollection>\n<cc:ColorSpecificationCollection>\n" + specs +
         "</cc:ColorSpecificationCollection>\n</cc:Resources>\n</cc:CxF>\n";
}

// Three patches measured under M0 and M1, with CMYK; M1 is the second
// ColorSpecification and is the one read.
inline std::string LabFile() {
  return File(
      Object("A1", Lab("CS_M0", "95.5", "-0.5", "2.25") + Lab("CS_M1", "95.12", "-0.48", "2.33"),
             Cmyk(0, 0, 0, 0)) +
          Object("A2", Lab("CS_M0", "50.5", "10", "-20") + Lab("CS_M1", "50", "10", "-20"),
                 Cmyk(100, 0, 0, 0)) +
          Object("A3", Lab("CS_M0", "30", "1", "2") + Lab("CS_M1", "29", "1", "2"),
                 Cmyk(0, 0, 0, 100)),
      Conditions("CS_M0", "M0_Incandescent") + Conditions("CS_M1", "M1_Daylight"));
}

inline std::string Spectrum(S value, int count, S start = "400") {
  std::string values = value;
  for (int i = 1; i < count; ++i)
    values += " " + value;
  return "<cc:ReflectanceSpectrum ColorSpecification=\"CS_M1\"" +
         (start.empty() ? "" : " StartWL=\"" + start + "\"") + ">" + values +
         "</cc:ReflectanceSpectrum>";
}

// 50 % and 20 % flat reflectors, 400–700 nm at 10 nm.
inline std::string SpectralFile() {
  return File(Object("G50", Spectrum("0.5", 31)) + Object("G20", Spectrum("0.2", 31)),
              Conditions("CS_M1", "M1_Daylight"));
}

// Profiling exports: one device-value object per patch, one colour object
// per patch and condition, linked by location tags or by name.
inline std::string Location(int row, int column) {
  return "<cc:TagCollection Name=\"Location\"><cc:Tag Name=\"Page\" Value=\"1\"/><cc:Tag "
         "Name=\"Row\" Value=\"" +
         std::to_string(row) + "\"/><cc:Tag Name=\"Column\" Value=\"" + std::to_string(column) +
         "\"/></cc:TagCollection>";
}

inline std::string Target(S name, int row, int column, S device) {
  return "<cc:Object ObjectType=\"Target\" Name=\"" + name + "\" Id=\"t-" + name + "\">" + device +
         Location(row, column) + "</cc:Object>\n";
}

inline std::string Measured(S name, S ref, int row, int column, S L) {
  return Object(name, Lab(ref, L, "0", "0"), Location(row, column));
}

inline std::string LinkedFile() {
  return File(Target("Target1", 0, 0, Rgb(255, 255, 255)) + Target("Target2", 0, 1, Rgb(0, 0, 0)) +
                  Target("Target3", 1, 0, Rgb(255, 0, 0)) + Measured("M0_1", "CS_M0", 0, 0, "95") +
                  Measured("M0_2", "CS_M0", 0, 1, "5") + Measured("M0_3", "CS_M0", 1, 0, "50") +
                  Measured("M1_3", "CS_M1", 1, 0, "51") + Measured("M1_1", "CS_M1", 0, 0, "96") +
                  Measured("M1_2", "CS_M1", 0, 1, "6"),
              Conditions("CS_M0", "M0_Incandescent") + Conditions("CS_M1", "M1_Daylight"));
}

}  // namespace korimo::testing
