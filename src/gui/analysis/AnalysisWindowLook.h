#pragma once

#include "core/grid/Palette.h"

#include <QString>

#include <vector>

// A colour key shown beside a window's grid.
struct LegendItem {
    enum class Kind { Dot, Swatch };
    Kind kind;
    Rgb colour;
    QString text;
    QString sampleName; // objectName of the dot or swatch
    QString labelName;  // objectName of the text beside it
};

enum class LegendPlace { None, BelowGrid, AboveGrid, BesideDescription };

// When an analysis window lets pending events run while it loads.
enum class EventYield { BeforeCompute, None, AfterCompute };

// What only the window of a catalog entry needs to know: the command line and the core have no
// use for it.
struct AnalysisWindowLook {
    bool hasPrint = true;
    EventYield yield = EventYield::BeforeCompute;
    LegendPlace legendPlace = LegendPlace::None;
    std::vector<LegendItem> legend{};
    // Opens as wide as the grid, even narrower than designed: the window was drawn much wider
    // than the grid it shows.
    bool widthFollowsGrid = false;

    // The look of the window with this form name; a plain look for a name it does not know.
    static const AnalysisWindowLook &of(const QString &formName);
};
