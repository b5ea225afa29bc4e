#include "shell/WindowFactory.h"

#include "analysis/AnalysisCatalog.h"
#include "shell/ChildWindow.h"
#include "shell/MainFrm.h"

namespace {
// An empty child window that stands in for a window still being built.
ChildWindow *standIn(const CatalogEntry &entry) {
    auto *window = new ChildWindow;
    window->setObjectName(entry.formName);
    window->setWindowTitle(entry.caption);
    return window;
}
} // namespace

ChildWindow *WindowFactory::createPredictionWindow(MainFrm &) {
    return standIn(AnalysisCatalog::prediction());
}

ChildWindow *WindowFactory::createDataEntryWindow(MainFrm &) {
    return standIn(AnalysisCatalog::dataEntry());
}
