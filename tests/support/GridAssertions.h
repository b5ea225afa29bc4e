#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

#include <QMetaType>
#include <QStringList>

#include <array>
#include <map>
#include <optional>

// How the analysis tests look at grids: a cell, or a sheet's settings, as one line of text, so
// that a failing comparison shows what the grid holds.

// The palette colours by name ("red", "yellow", "paleCyan", ...), any other colour as #RRGGBB.
QString colourName(Rgb colour);

// The sides of a cell that carry a line, in the order L R T B: upper case for black, lower case
// for light blue, other colours as the upper-case letter and the colour's name in brackets.
QString bordersText(const GridCell &cell);

// A cell as text|fore|back|align|borders, e.g. "回数|red|yellow|center|LRTB".
QString describe(const GridCell &cell);

// Compares the cells given as "col,row:description" one by one; a failure names the cell.
void compareCells(const ResultGrid &grid, const QStringList &cells);

// The texts of a row joined by ",", and the texts of a column from the top.
QString rowTexts(const ResultGrid &grid, int row);
QStringList columnTexts(const ResultGrid &grid, int col);

// The settings that apply to the grid as a whole, column widths and row heights apart:
// "39x4 visible 39x47 frozen rows 2 columns 1 overflow parked".
QString describeSheet(const ResultGrid &grid);

// Histories a test names in its data tables; "real" always means the shipped history.
using HistoryTable = std::map<QString, DrawHistory>;
const DrawHistory &namedHistory(const HistoryTable &table, const QString &name);

// The grid a builder makes from a named history, built once per test run; the table must live
// as long as the test (a static).
using GridBuilder = ResultGrid (*)(const DrawHistory &);
const ResultGrid &builtGrid(GridBuilder build, const HistoryTable &table, const QString &name);

// A data table of cells: the history's name, col, row and the cell's expected description.
void addCellColumns();
// Checks the current row of such a table against the grid build makes from the named history.
void checkCell(GridBuilder build, const HistoryTable &table);

// Data-table columns: a cell's four border sides (left, right, top, bottom), a draw's nine numbers.
using Sides = std::array<std::optional<Rgb>, 4>;
using Numbers = std::array<int, 9>;

Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(Align)
Q_DECLARE_METATYPE(Sides)
Q_DECLARE_METATYPE(Numbers)
Q_DECLARE_METATYPE(DrawHistory)
