// The patch roles of verification: which CMYK recipes make up each role.
// Paper, solids, two-colour overprints and the CMY grey balance are those
// the ISO 12647 parts and the Media Wedge CMYK V3 documentation single out;
// the grey patches are the wedge's own (patches 40-45).
#include "app/PatchRoles.h"

#include <cmath>

namespace korimo {

namespace {

constexpr std::array<CmykRecipe, 1> kPaper{{{0, 0, 0, 0}}};
constexpr std::array<CmykRecipe, 4> kSolids{
    {{100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}, {0, 0, 0, 100}}};
constexpr std::array<CmykRecipe, 3> kSolidsCmy{{{100, 0, 0, 0}, {0, 100, 0, 0}, {0, 0, 100, 0}}};
constexpr std::array<CmykRecipe, 3> kOverprints{
    {{100, 100, 0, 0}, {0, 100, 100, 0}, {100, 0, 100, 0}}};
constexpr std::array<CmykRecipe, 6> kGrey{{{10, 6, 6, 0},
                                           {20, 12, 12, 0},
                                           {40, 27, 27, 0},
                                           {60, 45, 45, 0},
                                           {80, 65, 65, 0},
                                           {100, 85, 85, 0}}};

const std::array<RoleDefinition, 7>& Definitions() {
  static const std::array<RoleDefinition, 7> table{{
      {Role::All, "all", "全パッチ", {}},
      {Role::Mw3, "mw3", "ウェッジ", MediaWedgeV3()},
      {Role::Paper, "paper", "紙白", kPaper},
      {Role::Solids, "solids", "ベタ", kSolids},
      {Role::SolidsCmy, "solids-cmy", "ベタCMY", kSolidsCmy},
      {Role::Overprints, "overprints", "2次色", kOverprints},
      {Role::Grey, "grey", "グレー", kGrey},
  }};
  return table;
}

bool Matches(const std::array<float, 4>& value, const CmykRecipe& recipe) {
  for (std::size_t c = 0; c < 4; ++c) {
    if (!(std::fabs(value[c] - recipe[c]) <= kRecipeTolerance))
      return false;
  }
  return true;
}

}  // namespace

std::span<const RoleDefinition> RoleDefinitions() {
  return Definitions();
}

const RoleDefinition& DefinitionOf(Role role) {
  return Definitions()[static_cast<std::size_t>(role)];
}

RolePatches FindRolePatches(Role role, const DeviceValues& device, int count) {
  RolePatches found;
  found.deviceValues = device.space == DeviceSpace::Cmyk;
  if (role == Role::All) {
    for (int i = 0; i < count; ++i)
      found.patches.push_back(i);
    return found;
  }
  if (!found.deviceValues)
    return found;
  const int stored = std::min(count, static_cast<int>(device.values.size()));
  for (const CmykRecipe& recipe : DefinitionOf(role).recipes) {
    int at = -1;
    for (int i = 0; i < stored && at < 0; ++i) {
      if (Matches(device.values[static_cast<std::size_t>(i)], recipe))
        at = i;
    }
    found.byRecipe.push_back(at);
    if (at < 0)
      ++found.missing;
    else
      found.patches.push_back(at);
  }
  return found;
}

}  // namespace korimo
