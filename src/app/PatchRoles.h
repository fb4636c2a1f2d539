#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "core/Measurement.h"

namespace korimo {

// The groups of patches a criterion can speak of, found in the Reference by
// their CMYK values.
enum class Role { All, Mw3, Paper, Solids, SolidsCmy, Overprints, Grey };

using CmykRecipe = std::array<float, 4>;  // C, M, Y, K in percent

// A device value belongs to a recipe when every channel lies within this.
inline constexpr float kRecipeTolerance = 0.5f;

struct RoleDefinition {
  Role role;
  std::string_view key;                 // as criteria write it: "grey"
  std::string_view name;                // as the window shows it: "グレー"
  std::span<const CmykRecipe> recipes;  // empty for `all`
};

// Every role, in the order the help and the README list them.
std::span<const RoleDefinition> RoleDefinitions();
const RoleDefinition& DefinitionOf(Role role);

// The 72 patches of the Media Wedge CMYK V3, in wedge order.
std::span<const CmykRecipe> MediaWedgeV3();

// Where a role's patches sit in the Reference.
struct RolePatches {
  bool deviceValues = false;  // the Reference has CMYK values (`all` needs none)
  std::vector<int> patches;   // Reference patches, one per recipe found, in recipe order
  std::vector<int> byRecipe;  // per recipe of the role its patch, -1 where missing
  int missing = 0;            // recipes with no patch in the Reference
};

// Each recipe at its first occurrence among the first `count` patches; `all`
// is every one of them.
RolePatches FindRolePatches(Role role, const DeviceValues& device, int count);

}  // namespace korimo
