#include "core/ReadFailure.h"

namespace korimo {

std::string EnglishReason(const FailureReason& reason) {
  const std::string& d = reason.detail;
  switch (reason.code) {
    case ReadFailure::None:
      break;
    case ReadFailure::Missing:
      return "no such file";
    case ReadFailure::NotRegularFile:
      return "not a regular file";
    case ReadFailure::Unreadable:
      return "cannot be read";
    case ReadFailure::NoBeginData:
      return "no BEGIN_DATA line";
    case ReadFailure::NoDataLines:
      return "no data lines after BEGIN_DATA";
    case ReadFailure::NoColourColumns:
      return "no LAB_L/LAB_A/LAB_B, XYZ or spectral columns";
    case ReadFailure::UnknownIlluminant:
      return "illuminant " + d + ": no weighting table";
    case ReadFailure::SpectralNarrow:
      return "spectral bands do not cover 400-700 nm";
    case ReadFailure::SpectralGap:
      return "no spectral band at " + d + " nm";
  }
  return "no patches read";
}

std::string JapaneseReason(const FailureReason& reason) {
  const std::string& d = reason.detail;
  switch (reason.code) {
    case ReadFailure::None:
      break;
    case ReadFailure::Missing:
      return "ファイルがありません";
    case ReadFailure::NotRegularFile:
      return "通常のファイルではありません";
    case ReadFailure::Unreadable:
      return "読み取れません";
    case ReadFailure::NoBeginData:
      return "BEGIN_DATAの行がありません";
    case ReadFailure::NoDataLines:
      return "BEGIN_DATAの後にデータがありません";
    case ReadFailure::NoColourColumns:
      return "L*a*b*・XYZ・分光データの列がありません";
    case ReadFailure::UnknownIlluminant:
      return "光源" + d + "の重価係数がありません";
    case ReadFailure::SpectralNarrow:
      return "分光データが400～700 nmを覆っていません";
    case ReadFailure::SpectralGap:
      return "分光データに" + d + " nmの列がありません";
  }
  return "パッチがありません";
}

}  // namespace korimo
