#include "shell/WindowFactory.h"

#include "backtest/BacktestWindow.h"
#include "entry/DrawEntryWindow.h"
#include "prediction/PredictionWindow.h"
#include "shell/MainFrm.h"

ChildWindow *WindowFactory::createPredictionWindow(MainFrm &frame) {
    return new PredictionWindow(frame.prediction(), frame.history());
}

ChildWindow *WindowFactory::createDataEntryWindow(MainFrm &frame) {
    return new DrawEntryWindow(frame.connection());
}

ChildWindow *WindowFactory::createBacktestWindow(MainFrm &frame, const CatalogEntry &entry) {
    return new BacktestWindow(entry, frame.history(), frame.options());
}
