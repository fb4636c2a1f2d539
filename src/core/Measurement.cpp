#include "core/Measurement.h"

namespace korimo {

namespace {

bool SameDevice(const DeviceValues& a, const DeviceValues& b) {
  return a.space == b.space && a.values == b.values && a.maxRange == b.maxRange;
}

}  // namespace

std::string_view ConditionName(Condition condition) {
  switch (condition) {
    case Condition::Unknown:
      break;
    case Condition::M0:
      return "M0";
    case Condition::M1:
      return "M1";
    case Condition::M2:
      return "M2";
    case Condition::M3:
      return "M3";
  }
  return {};
}

bool SameMeasurement(const Measurement& a, const Measurement& b) {
  return a.path == b.path && a.format == b.format && a.lab == b.lab && a.ids == b.ids &&
         a.sampleName == b.sampleName && a.sampleId == b.sampleId && a.rowLength == b.rowLength &&
         SameDevice(a.device, b.device) && a.source == b.source && a.illuminant == b.illuminant &&
         a.observer == b.observer && a.condition == b.condition &&
         a.spectralStepNm == b.spectralStepNm && a.colorSpecification == b.colorSpecification &&
         a.cutAt3000 == b.cutAt3000 && a.failure.code == b.failure.code &&
         a.failure.detail == b.failure.detail;
}

}  // namespace korimo
