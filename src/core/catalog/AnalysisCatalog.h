#pragma once

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"
#include "core/settings/PredictionOptions.h"

#include <QString>
#include <QStringList>

#include <vector>

enum class WindowKind {
    Analysis,
    TheoryComparison,
    PairAnalysis,
    Prediction,
    DataEntry,
    PrizeList,
    TicketCheck,
    Backtest,
    Wheel
};

using AnalysisBuilder = ResultGrid (*)(const DrawHistory &);
using AnalysisGridsBuilder = std::vector<ResultGrid> (*)(const DrawHistory &);
using PredictionExport = std::vector<ResultGrid> (*)(const DrawHistory &, const PredictionOptions &);

// One child window of the program: what the menu, the window frame, the command line and the
// tests need to know about it. How its window looks (legend, Print button, event yield,
// resizing) is the GUI's: AnalysisWindowLook.
struct CatalogEntry {
    WindowKind kind = WindowKind::Analysis;
    QString formName;    // the window's name (its objectName)
    QString caption;     // title bar text
    QString menuItem;    // name of the menu item that opens it
    QString menuText;    // caption of that menu item
    QString submenuName; // analysis sub-menu it sits in ("" = directly in データ分析(&S))
    QString submenuText;
    QString description; // Label1 (Label19 in the prediction window)
    int widthTwips = 0;
    int heightTwips = 0;
    AnalysisBuilder build = nullptr;    // analysis windows
    PredictionExport predict = nullptr; // the prediction window's four grids
    // Analysis windows of several grids, over every draw.
    AnalysisGridsBuilder buildGrids = nullptr;

    // The grids the window shows for this history, as a fresh opening computes them.
    std::vector<ResultGrid> grids(const DrawHistory &history, const PredictionOptions &options) const;
    // Whether the command line exports it; the ticket check, the backtest and the wheel need their
    // input.
    bool exportable() const { return build || buildGrids || predict || inCheckMenu(); }
    // Whether the window opens from the menu 検証(&K), where the results of playing are checked.
    bool inCheckMenu() const {
        return kind == WindowKind::TicketCheck || kind == WindowKind::Backtest || kind == WindowKind::Wheel;
    }
    // Whether the window opens from the menu データ管理(&M), after 当選データ入力.
    bool inDataMenu() const { return kind == WindowKind::PrizeList; }
    // Whether the window opens from the menu データ分析(&S).
    bool inAnalysisMenu() const {
        return kind == WindowKind::Analysis || kind == WindowKind::TheoryComparison || kind == WindowKind::PairAnalysis;
    }
};

namespace AnalysisCatalog {
// Every child window: the analysis windows in menu order, then the prediction window and
// the data entry window.
const std::vector<CatalogEntry> &entries();
// By form name or menu item name; nullptr when unknown.
const CatalogEntry *find(const QString &name);
const CatalogEntry &prediction();
// The form names, in catalog order; only those the command line can export when asked.
QStringList formNames(bool exportableOnly = false);
// The message for a name that is neither a form name nor a menu item name.
QString unknownWindowMessage(const QString &name, bool exportableOnly = false);
const CatalogEntry &dataEntry();
const CatalogEntry &ticketCheck();
const CatalogEntry &wheel();
} // namespace AnalysisCatalog
