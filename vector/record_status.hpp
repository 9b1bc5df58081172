#pragma once
// What the status and the kind of a record say about it, as occurrence downloads and
// first-record tables write them: an occurrenceStatus of absence (a survey found the species
// missing), and a basisOfRecord of a fossil or a living specimen (a zoo, garden or collection),
// neither of which is the arrival of a wild population. Values compare ignoring ASCII case,
// blanks, underscores and hyphens ("ABSENT", "Absent"; "FOSSIL_SPECIMEN", "FossilSpecimen").

#include <string_view>

namespace el::vec {

// True for a status of absence ("absent", "absence", "not present"); any other status (present,
// established, casual, extinct, eradicated, ...) or none still marks an arrival.
bool isAbsenceStatus(std::string_view status);

enum class Specimen { None, Fossil, Living };

// Fossil for FOSSIL_SPECIMEN, Living for LIVING_SPECIMEN, None for any other basis.
Specimen specimenOf(std::string_view basisOfRecord);

}  // namespace el::vec
