#pragma once

#include <QWidget>

class QMenu;

// Every child window of the main window is one of these. The main window places it in the
// multiple-document area, clears EndAllowed when it loads and sets it again when it unloads.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The program is ending while this window is open. Exit is never refused: store what can
    // be stored and tell the user about anything that could not be.
    virtual void prepareForExit() {}

    // A menu that replaces the main window's menu bar while this window is the active child
    // (nullptr: the main window keeps its own).
    virtual QMenu *windowMenu() { return nullptr; }
};
