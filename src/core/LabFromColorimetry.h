#pragma once

#include <span>
#include <vector>

#include "color/Colorimetry.h"
#include "core/Measurement.h"

namespace korimo {

// How every reader turns the XYZ or reflectance of a file into the stored
// L*a*b*, so that one chart reads alike from any format.

// The weighting a file's declarations select; files that do not say are
// taken as D50, 2°, as graphic arts measure.
StdIlluminant WeightingIlluminant(Illuminant declared);
StdObserver WeightingObserver(Observer declared);

// L*a*b* as stored: computed in double, narrowed to 32 bits once, and every
// figure uses that one value.
LabValue StoredLab(const CieLab& lab);

// The L*a*b* of patches given as X, Y, Z each (32-bit, as read), appended to
// `out`. Some instruments write XYZ on a 0–1 scale: when no Y is above 2 the
// values are fractions and are taken times 100.
void AppendLabOfXyz(std::span<const float> xyz, const Xyz& white, std::vector<LabValue>& out);

// Whether reflectances are written in percent rather than as fractions: any
// value above 2 (fluorescent paper exceeds 1 as a fraction).
bool ReflectanceInPercent(std::span<const float> values);

}  // namespace korimo
