#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "core/ComparisonData.h"
#include "core/MeasurementSet.h"
#include "core/ReadFailure.h"

namespace korimo {

inline constexpr std::string_view kTooManyPatchesMessage =
    "パッチ数が最大3000を越えました。読み込みを中止します";

// Called once when a data section holds more than 3000 patches, before the
// read returns with the first 3000; the window shows it, the batch tool
// prints it.
using TooManyPatchesNotice = std::function<void(std::string_view message)>;

struct ReadResult {
  int patches = 0;  // 0 ... 3000
  ReadFailure failure = ReadFailure::None;
  bool cutAt3000 = false;     // the data section held more; the notice was given
  std::string failureDetail;  // what the failure concerns (an illuminant, a wavelength)
  // Where L*a*b* came from, conditions, identifier columns, device values; a
  // default record when the read failed.
  MeasurementSet info;

  FailureReason Reason() const { return {failure, failureDetail}; }
};

// Reads one measurement file into data set `set` (0, 1, 2). Empties Lab[set]
// (and PatchId for the Reference) first, so a failed read leaves the set
// empty. Never throws for bad input: unreadable files and files without
// colour columns give 0 patches with a reason, text that is not a number
// reads as 0. L*a*b* comes from LAB_L/LAB_A/LAB_B, else from XYZ, else from
// spectral reflectance.
ReadResult ReadMeasurementFile(const std::string& path, int set, ComparisonData& data,
                               const TooManyPatchesNotice& notice = {});

// The same from an open, seekable stream (the file is read three times),
// which stays open; the fuzzers feed it memory this way.
ReadResult ReadMeasurementStream(std::FILE* file, int set, ComparisonData& data,
                                 const TooManyPatchesNotice& notice = {});

}  // namespace korimo
