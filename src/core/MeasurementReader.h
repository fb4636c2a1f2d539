#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "core/Measurement.h"

namespace korimo {

inline constexpr std::string_view kTooManyPatchesMessage =
    "パッチ数が最大3000を越えました。読み込みを中止します";

// Called once when a file holds more than 3000 patches, before the read
// returns with the first 3000; the window shows it, the batch tool prints it.
using TooManyPatchesNotice = std::function<void(std::string_view message)>;

// Reads one measurement file. Never throws for bad input: unreadable files
// and files without colour values give no patches and a reason, text that is
// not a number reads as 0. L*a*b* comes from LAB_L/LAB_A/LAB_B, else from
// XYZ, else from spectral reflectance.
Measurement ReadMeasurementFile(const std::string& path, const TooManyPatchesNotice& notice = {});

// The same from an open, seekable stream, which stays open; the fuzzers and
// tests feed it memory this way. The record's path stays empty.
Measurement ReadMeasurementStream(std::FILE* file, const TooManyPatchesNotice& notice = {});

}  // namespace korimo
