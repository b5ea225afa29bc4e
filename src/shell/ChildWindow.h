#pragma once

#include <QApplication>
#include <QMdiSubWindow>
#include <QWidget>

class QMenu;

// The hourglass while a window computes, restored however the computation ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Every child window of the main window is one of these. The main window places it in the
// multiple-document area, clears EndAllowed when it loads and sets it again when it unloads.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The window's Load: computes and fills it. Runs once, after the window has been placed and
    // before it is shown.
    virtual void load() {}

    // The program is ending while this window is open. Exit is never refused: store what can
    // be stored and tell the user about anything that could not be.
    virtual void prepareForExit() {}

    // The size the window's contents need to show what it was designed to show (a grid's visible
    // area, say), known once it has loaded; invalid when its designed size serves. The window
    // then opens that large, within the main window.
    virtual QSize contentSize() const { return {}; }

    // A menu that replaces the main window's menu bar while this window is the active child
    // (nullptr: the main window keeps its own).
    virtual QMenu *windowMenu() { return nullptr; }

    // Closes the window with its frame in the multiple-document area (the window unloads).
    void closeWindow() {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->close();
        else
            close();
    }

    // Window sizes and design-time positions are given in twips (1/1440 inch).
    static int twipsToPixels(int twips, const QWidget *widget) {
        return qRound(twips * widget->logicalDpiX() / 1440.0);
    }
};
