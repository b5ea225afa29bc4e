// Placeholder until the prediction engine lands; delete this file with it.
#include "analysis/Builders.h"

std::vector<ResultGrid> buildPredictionGrids(const DrawHistory &, const PredictionOptions &) { return {}; }
