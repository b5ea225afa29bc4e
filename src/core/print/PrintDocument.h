#pragma once

#include "core/grid/ResultGrid.h"

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

// What a window prints: a header on every page (its caption, its description and the latest
// draw), then its grids one after another, each under an optional heading, then its figures
// (charts), then lines of text; the window's colour key in every footer.
struct PrintDocument {
    struct Section {
        QString heading;
        ResultGrid grid;
    };
    // A picture drawn by the GUI (PNG data) and its size in page units of 1/96 inch; the page
    // narrows or widens it, keeping its proportions.
    struct Figure {
        QByteArray picture;
        QSizeF size;
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
    std::vector<Figure> figures{};
};
