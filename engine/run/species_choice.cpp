#include "engine/run/species_choice.hpp"

#include <algorithm>

namespace el::engine {
namespace {

bool contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (!contains(list, name)) list.push_back(name);
}

}  // namespace

SpeciesChoice chooseSpecies(const vec::VectorData& data, const std::optional<std::vector<std::string>>& given,
                            const std::string& fileName) {
    const auto begin = data.valname.begin();
    const std::vector<std::string> variables(begin, begin + data.valn());
    SpeciesChoice choice;
    if (!given) {
        for (const auto& name : variables) addOnce(choice.species, name);
        return choice;
    }
    for (const auto& name : *given) {
        if (!contains(variables, name)) return {{}, "\"" + name + "\" is not a variable of " + fileName};
        addOnce(choice.species, name);
    }
    return choice;
}

std::optional<std::string> targetNotAnalysed(const std::vector<std::string>& species, const std::string& target) {
    if (contains(species, target)) return std::nullopt;
    return "the target species \"" + target + "\" is not among the species analysed";
}

}  // namespace el::engine
