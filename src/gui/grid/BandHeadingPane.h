#pragma once

#include "gui/grid/ResultGridPainter.h"

#include <optional>

// The band heading of a grid (see BandHeading) for one pane of it, on screen or on a page: when
// the pane shows part of the band but not the heading's own cells, the pane that draws those
// cells again, moved into the part shown, as near to their own place as it allows. Nothing when
// the pane shows the heading in its place already or none of its band.
std::optional<ResultGridPainter::Pane> bandHeadingPane(const ResultGridPainter &painter,
                                                       const ResultGridPainter::Pane &pane);
