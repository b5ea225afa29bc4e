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
#include "gui/wheel/WheelWindow.h"

#include <QMdiSubWindow>

namespace {
// The open window of that kind, opened first if need be; nullptr when it could not be.
template <typename Window> Window *opened(MainFrm &frame, const CatalogEntry &entry) {
    QMdiSubWindow *sub = frame.openWindow(entry.formName);
    return sub ? qobject_cast<Window *>(sub->widget()) : nullptr;
}
} // namespace

ChildWindow *WindowFactory::createPredictionWindow(MainFrm &frame) {
    auto *window = new PredictionWindow(frame.prediction(), frame.history());
    QObject::connect(window, &PredictionWindow::wheelRequested, &frame, [&frame](Prediction::Method method) {
        if (auto *wheel = opened<WheelWindow>(frame, AnalysisCatalog::wheel()))
            wheel->takePrediction(method);
    });
    return window;
}

ChildWindow *WindowFactory::createWheelWindow(MainFrm &frame, const CatalogEntry &entry) {
    auto *window = new WheelWindow(entry, frame.history(), frame.options());
    QObject::connect(window, &WheelWindow::checkRequested, &frame, [&frame](const QString &tickets) {
        if (auto *check = opened<CheckWindow>(frame, AnalysisCatalog::ticketCheck()))
            check->checkTickets(tickets);
    });
    return window;
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
