#include "gui/shell/WindowFactory.h"

#include "core/catalog/AnalysisCatalog.h"
#include "gui/backtest/BacktestWindow.h"
#include "gui/check/CheckWindow.h"
#include "gui/entry/DrawEntryWindow.h"
#include "gui/history/PrizeListWindow.h"
#include "gui/prediction/PredictionWindow.h"
#include "gui/shell/MainFrm.h"
#include "gui/theory/PairWindow.h"
#include "gui/theory/TheoryWindow.h"

ChildWindow *WindowFactory::createPredictionWindow(MainFrm &frame) {
    return new PredictionWindow(frame.prediction(), frame.history());
}

ChildWindow *WindowFactory::createDataEntryWindow(MainFrm &frame) {
    return new DrawEntryWindow(frame.connection());
}

ChildWindow *WindowFactory::createPrizeListWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new PrizeListWindow(entry, frame.history());
}

ChildWindow *WindowFactory::createCheckWindow(MainFrm &frame) {
    return new CheckWindow(AnalysisCatalog::ticketCheck(), frame.history(), frame.prediction());
}

ChildWindow *WindowFactory::createBacktestWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new BacktestWindow(entry, frame.history(), frame.options());
}

ChildWindow *WindowFactory::createTheoryWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new TheoryWindow(entry, frame.history());
}

ChildWindow *WindowFactory::createPairWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new PairWindow(entry, frame.history());
}
