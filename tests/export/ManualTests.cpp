#include "export/Manual.h"

#include <gtest/gtest.h>

#include "support/FakePlatform.h"

namespace korimo::testing {
namespace {

TEST(Manual, OpensTheFixedNameBesideTheProgram) {
  FakePlatform platform;
  platform.programFolder = "/opt/korimo tools";
  But_Help_Click(platform);
  platform.programFolder = "/";
  But_Help_Click(platform);
  EXPECT_EQ(platform.openedDocuments,
            (std::vector<std::string>{"/opt/korimo tools/Korimo使用説明書.pdf",
                                      "/Korimo使用説明書.pdf"}));
}

}  // namespace
}  // namespace korimo::testing
