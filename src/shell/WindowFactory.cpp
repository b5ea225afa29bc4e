#include "shell/WindowFactory.h"

#include "analysis/AnalysisCatalog.h"
#include "backtest/BacktestWindow.h"
#include "check/CheckWindow.h"
#include "entry/DrawEntryWindow.h"
#include "prediction/PredictionWindow.h"
#include "shell/MainFrm.h"

ChildWindow *WindowFactory::createPredictionWindow(MainFrm &frame) {
    return new PredictionWindow(frame.prediction(), frame.history());
}

ChildWindow *WindowFactory::createDataEntryWindow(MainFrm &frame) {
    return new DrawEntryWindow(frame.connection());
}

ChildWindow *WindowFactory::createCheckWindow(MainFrm &frame) {
    return new CheckWindow(AnalysisCatalog::ticketCheck(), frame.history(), frame.prediction());
}

ChildWindow *WindowFactory::createBacktestWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new BacktestWindow(entry, frame.history(), frame.options());
}
