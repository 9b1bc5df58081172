#pragma once
// The figure of a hindcast over many species: each species' AUC against its distance AUC
// at each cut-off year. Above the diagonal the forecast ranked the regions reached later
// better than the distance to the nearest reached region did.

#include "engine/hindcast/hindcast_all.hpp"
#include "figures/scene.hpp"

namespace el::figures {

Scene buildSpeciesAucPlot(const engine::AllSpeciesHindcast& hindcast, double width = 760, double height = 560);

}  // namespace el::figures
