#pragma once

#include <string>
#include <string_view>

namespace korimo {

// Why a read stored no patches. The batch tool tells its user in English,
// the window in Japanese; both texts come from here.
enum class ReadFailure {
  None,
  Missing,            // no such file
  NotRegularFile,     // a folder, device or pipe
  Unreadable,         // cannot be opened, or a read failed part-way
  NoBeginData,        // no line whose first field is BEGIN_DATA
  NoDataLines,        // BEGIN_DATA is followed directly by END_DATA or the end
  NoColourColumns,    // neither all three LAB columns, nor XYZ, nor spectral bands
  UnknownIlluminant,  // L*a*b* must be computed, under an illuminant without a table
  SpectralNarrow,     // the bands do not cover 400–700 nm
  SpectralGap,        // a band inside the measured range is missing
};

// A failure and what it concerns: the illuminant's name, the missing
// wavelength in nm.
struct FailureReason {
  ReadFailure code = ReadFailure::None;
  std::string detail;
};

std::string EnglishReason(const FailureReason& reason);
std::string JapaneseReason(const FailureReason& reason);

}  // namespace korimo
