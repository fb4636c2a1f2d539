// The built-in criteria sets. Limits from ISO 12647-7:2016 and
// ISO 12647-7:2007 (contract proofing, tolerances on the Media Wedge CMYK V3)
// and ISO 12647-2:2013 (offset printing, tolerances of the solids). The
// 2016 edition's tolerances apply to M1 measurements.
#include "app/Criteria.h"

#include <array>
#include <cstdlib>

namespace korimo {

namespace {

struct BuiltInDefinition {
  std::string_view id;
  std::string_view name;
  bool assumesM1;
  std::string_view criteria;  // separated by blanks
};

const std::array<BuiltInDefinition, 3> kDefinitions{{
    {"iso12647-7-2016", "ISO 12647-7:2016 Media Wedge V3", true,
     "paper:de00:max<=3 mw3:de00:avg<=2.5 mw3:de00:max<=5 solids:de00:max<=3 "
     "solids-cmy:dh:max<=2.5 grey:dch:avg<=2 grey:dch:max<=3.5"},
    {"iso12647-7-2007", "ISO 12647-7:2007 Media Wedge V3", false,
     "paper:de:max<=3 mw3:de:avg<=3 mw3:de:max<=6 solids:de:max<=5 solids-cmy:dh:max<=2.5 "
     "grey:dh:avg<=1.5"},
    {"iso12647-2-2013-solids", "ISO 12647-2:2013 solids", false,
     "solids-cmy:de00:max<=3.5 solids:de00:max<=5"},
}};

std::vector<CriteriaSet> Build() {
  std::vector<CriteriaSet> sets;
  for (const BuiltInDefinition& definition : kDefinitions) {
    CriteriaSet set{
        std::string(definition.id), std::string(definition.name), {}, definition.assumesM1, {}};
    std::string_view rest = definition.criteria;
    while (!rest.empty()) {
      const auto blank = rest.find(' ');
      const std::string_view text = rest.substr(0, blank);
      rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank + 1);
      CriteriaError error;
      const std::optional<Criterion> criterion = ParseCriterion(text, error);
      // A table entry that does not parse is a defect of this file.
      if (!criterion)
        std::abort();
      set.criteria.push_back(*criterion);
    }
    sets.push_back(std::move(set));
  }
  return sets;
}

}  // namespace

std::span<const CriteriaSet> BuiltInCriteriaSets() {
  static const std::vector<CriteriaSet> sets = Build();
  return sets;
}

}  // namespace korimo
