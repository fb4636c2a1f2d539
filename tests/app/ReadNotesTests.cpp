#include "app/ReadNotes.h"

#include <gtest/gtest.h>

#include "support/EngineDriver.h"

namespace korimo::testing {
namespace {

class ReadNotesTest : public EngineTest {
 protected:
  // An XYZ file declaring `keywords`.
  std::string Xyz(const std::string& name, const std::string& keywords) {
    return dir_.Write(name, keywords + "\nSAMPLE_ID XYZ_X XYZ_Y XYZ_Z\nBEGIN_DATA\n1 20 20 20\n");
  }
};

// A refused file's line stays until that set reads again; declared
// conditions that differ add the pair's line; the path's tooltip tells
// where computed values came from.
TEST_F(ReadNotesTest, StripAndTooltipTellWhatTheReadsFound) {
  Choose(DataSet::Reference, Xyz("ref.txt", "MEASUREMENT_CONDITION M1\nOBSERVER 2"));
  EXPECT_EQ(record().Lb_FileTip[0], "L*a*b*: XYZから計算（D50・2°）");
  Choose(DataSet::File1,
         dir_.Write("cmyk.txt", "CMYK_C CMYK_M CMYK_Y CMYK_K\nBEGIN_DATA\n0 0 0 0\n"));
  EXPECT_EQ(record().Lb_ReadFailure[1],
            "File1: 読み込めません（L*a*b*・XYZ・分光データの列がありません）");
  EXPECT_EQ(ComposeStrip(record()).lines[0], record().Lb_ReadFailure[1]);
  Choose(DataSet::File1, Xyz("f1.txt", "FILTER \"M0 (no filter)\"\nOBSERVER 10"));
  EXPECT_EQ(record().Lb_ReadFailure[1], "");
  EXPECT_EQ(ComposeStrip(record()).lines,
            (std::array<std::string, 2>{"基準–File1: 観察者 2°≠10° 測定条件 M1≠M0", ""}));
  Choose(DataSet::File2, dir_.File("missing.txt"));
  EXPECT_EQ(ComposeStrip(record()).lines,
            (std::array<std::string, 2>{"File2: 読み込めません（ファイルがありません）",
                                        "基準–File1: 観察者 2°≠10° 測定条件 M1≠M0"}));
}

// A CxF3 file is named in the tooltip whatever its source, with the
// ColorSpecification it was read under.
TEST_F(ReadNotesTest, TooltipNamesCxf3AndItsColorSpecification) {
  Choose(DataSet::Reference, KORIMO_SAMPLES_DIR "/small-reference.cxf");
  EXPECT_EQ(record().Lb_FileTip[0], "CxF3・L*a*b*\n測定仕様: CS_D50_2_M1（M1）");
  std::string flat = "0.5";
  for (int i = 1; i < 31; ++i)
    flat += " 0.5";
  Choose(DataSet::File1,
         dir_.Write("flat.cxf",
                    "<CxF xmlns=\"http://colorexchangeformat.com/CxF3-core\"><Resources>"
                    "<ObjectCollection><Object Name=\"G\" Id=\"1\"><ColorValues>"
                    "<ReflectanceSpectrum ColorSpecification=\"S\" StartWL=\"400\">" +
                        flat +
                        "</ReflectanceSpectrum></ColorValues></Object></ObjectCollection>"
                        "<ColorSpecificationCollection><ColorSpecification Id=\"S\">"
                        "<WavelengthRange StartWL=\"400\" Increment=\"10\"/></ColorSpecification>"
                        "</ColorSpecificationCollection></Resources></CxF>"));
  EXPECT_EQ(record().Lb_FileTip[1], "CxF3・分光反射率から計算（D50・2°・10 nm）\n測定仕様: S");
}

}  // namespace
}  // namespace korimo::testing
