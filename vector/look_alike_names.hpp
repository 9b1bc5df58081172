#pragma once
// Names that mix alphabets: "Elodea сanadensis" typed with a Cyrillic "с" looks like
// "Elodea canadensis" but is another name, so a species (or a region) falls apart into two
// that look like one. Found among the names of a data set, each with the name it looks
// like where the data holds one, and told to the user before a run.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::vec {

enum class Script { Other, Latin, Greek, Cyrillic };

// The alphabet of a character: Latin (with its accented letters), Greek, Cyrillic, or none
// of these (digits, blanks, punctuation, marks, other scripts).
Script scriptOf(char32_t c);

// Where a name mixes Latin with Greek or Cyrillic letters: the first word that holds a Greek
// or Cyrillic letter, that letter and its alphabet; `inOneWord` when that word holds Latin
// letters too ("сanadensis"), not only the name ("Ελλάδα Greece").
struct ScriptMix {
    std::string word;
    std::string letter;
    Script script = Script::Other;
    bool inOneWord = false;
};
std::optional<ScriptMix> scriptMixOf(std::string_view name);

// The name with each Greek or Cyrillic letter that looks like a Latin one written as that
// Latin letter: "Elodea сanadensis" becomes "Elodea canadensis". Other characters stay.
std::string latinLookAlike(std::string_view name);

// A name of `names` that mixes scripts within a word, or across words where another name
// looks the same; `lookAlike` the index of a name that looks the same (one in Latin letters
// alone where there is one, else the first).
struct MixedScriptName {
    std::size_t index = 0;
    std::optional<std::size_t> lookAlike;
    ScriptMix mix;
};
std::vector<MixedScriptName> mixedScriptNames(const std::vector<std::string>& names);

// The warnings of a run's input of `species` over `data`: one for each region name that mixes
// scripts, and one for each species name that does when it or its look-alike is analysed.
struct NameWarning {
    std::string name;  // the name at fault
    std::string text;
};
std::vector<NameWarning> mixedScriptWarnings(const VectorData& data, const std::vector<std::string>& species);

}  // namespace el::vec
