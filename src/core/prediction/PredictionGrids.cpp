#include "core/prediction/PredictionEngine.h"

std::vector<ResultGrid> buildPredictionGrids(const DrawHistory &history, const PredictionOptions &options) {
    // A first opening: fresh tables, the given flags, layout, then the cycle method, which
    // ends with the recompute.
    PredictionEngine engine;
    engine.options() = options;
    engine.layOutGrids();
    engine.runCycleMethod(history);
    return {engine.grids().begin(), engine.grids().end()};
}

Prediction::Sets predictSets(const DrawHistory &history, const PredictionOptions &options) {
    PredictionEngine engine;
    engine.options() = options;
    engine.layOutGrids();
    engine.runCycleMethod(history);
    return engine.sets();
}
