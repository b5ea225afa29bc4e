#pragma once

#include "core/grid/ResultGrid.h"

#include <QString>
#include <QStringList>

#include <vector>

// What a window prints: a header on every page (its caption, its description and the latest
// draw), then its grids one after another, each under an optional heading, then lines of text;
// the window's colour key in every footer.
struct PrintDocument {
    struct Section {
        QString heading;
        ResultGrid grid;
    };
    // One entry of the colour key printed in every page's footer: a dot or a swatch, then text.
    struct Key {
        bool dot;
        Rgb colour;
        QString text;
    };

    QString caption;
    QString description;
    int latestDrawNumber = 0; // 0: no draw yet, and the header does not mention one
    std::vector<Section> sections;
    QStringList notes;
    std::vector<Key> legend;
};
