#include "app/Inputs.h"

#include <algorithm>

namespace korimo {

namespace {

const std::string kNoId;

int IdCount(const Measurement& m) {
  return static_cast<int>(m.ids.values.size());
}

// Layers that a later one covers whole can never show; dropping them keeps
// the list short however often files are loaded.
void Layer(std::vector<MeasurementPtr>& layers, MeasurementPtr read) {
  const int covers = IdCount(*read);
  std::erase_if(layers, [covers](const MeasurementPtr& m) { return IdCount(*m) <= covers; });
  layers.push_back(std::move(read));
}

}  // namespace

int Inputs::Count(DataSet set) const {
  const Measurement* m = Set(set);
  return m == nullptr ? 0 : m->Count();
}

void ApplyRead(Inputs& inputs, DataSet set, MeasurementPtr read) {
  ReadHistory& h = inputs.history;
  if (read->rowLength)
    h.rowLength[Index(set)] = read->rowLength;
  // Reading the Reference empties the identifier list first, whatever the
  // read yields.
  if (set == DataSet::Reference)
    h.idLayers.clear();
  inputs.sets[Index(set)] = read;
  if (!read->Stored()) {
    h.figuresReset = true;
    return;
  }
  if (read->ids.present)
    Layer(h.idLayers, read);
  h.basis = CompareBasis{inputs.sets, set, read->Count(), inputs.mode};
  h.figuresReset = false;
  h.thresholdsTaken = true;
  h.thresholdsReset = false;
}

void ApplyAbandonedRead(Inputs& inputs, DataSet set) {
  auto empty = std::make_shared<Measurement>();
  empty->path = inputs.paths[Index(set)];
  if (set == DataSet::Reference)
    inputs.history.idLayers.clear();
  inputs.sets[Index(set)] = std::move(empty);
  inputs.history.figuresReset = true;
}

void ApplyPairingMode(Inputs& inputs, PairingMode mode) {
  inputs.mode = mode;
  ReadHistory& h = inputs.history;
  if (!h.basis)
    return;
  // When the file of the read that set the figures has stored nothing since,
  // the figures stay as that read left them.
  if (inputs.Count(h.basis->set) >= 1) {
    h.basis = CompareBasis{inputs.sets, h.basis->set, h.basis->count, mode};
    h.figuresReset = false;
    h.thresholdsTaken = true;
    h.thresholdsReset = false;
  }
}

void ApplyThresholdUpdate(Inputs& inputs) {
  inputs.history.thresholdsTaken = true;
  inputs.history.thresholdsReset = inputs.history.figuresReset;
}

void ApplyClearAll(Inputs& inputs) {
  inputs.paths = {};
  inputs.sets = {};
  inputs.mode = PairingMode::Position;
  inputs.history.idLayers.clear();
  inputs.history.rowLength = {};
}

const std::string& LayeredId(const std::vector<MeasurementPtr>& layers, int patch) {
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
    if (patch >= 0 && patch < IdCount(**it))
      return (*it)->ids.values[static_cast<std::size_t>(patch)];
  }
  return kNoId;
}

}  // namespace korimo
