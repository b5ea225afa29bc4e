#pragma once

#include "core/grid/GridJson.h"
#include "core/history/DrawRecord.h"
#include "core/print/PrintDocument.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QWidget>

#include <optional>
#include <vector>

class QHBoxLayout;
class QLabel;
class QMenu;
class QScrollArea;
class ResultGridView;

// The hourglass while a window computes, restored however the computation ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

// Every child window of the main window is one of these. The main window places it in the
// multiple-document area, clears EndAllowed when it loads and sets it again when it unloads.
//
// A window that shows grids also prints them: it says what to print in printDocument() and what
// to save as CSV in exportContent(); Ctrl+P, its 印刷 button (connected to printPreview) and its
// grids' context menus (offerPrinting) then do the rest.
class ChildWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChildWindow(QWidget *parent = nullptr);

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
    // Whether the window opens as wide as contentSize() even when that is narrower than designed.
    virtual bool widthFollowsContent() const { return false; }

    // A menu that replaces the main window's menu bar while this window is the active child
    // (nullptr: the main window keeps its own).
    virtual QMenu *windowMenu() { return nullptr; }
    // A window that reads the stored draws to change them hands over what it read, once; nullopt
    // for the others.
    virtual std::optional<std::vector<DrawRecord>> takeDrawsAtOpen() { return std::nullopt; }

    // Closes the window with its frame in the multiple-document area (the window unloads).
    void closeWindow() {
        if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
            frame->close();
        else
            close();
    }

    // What the window prints; nothing for a window without a printout.
    virtual std::optional<PrintDocument> printDocument() const { return std::nullopt; }
    // The window's grids as the command line exports them; nothing for a window without grids.
    virtual std::optional<WindowExport> exportContent() const { return std::nullopt; }

    // The print preview of printDocument().
    void printPreview();
    // The save dialog, then exportContent() in the CSV form of the command line's export.
    void saveCsv();
    // Writes the CSV file without asking; a message box says why when it cannot.
    bool writeCsv(const QString &path, bool byteOrderMark);

    // Window sizes and design-time positions are given in twips (1/1440 inch).
    static int twipsToPixels(int twips, const QWidget *widget) {
        return qRound(twips * widget->logicalDpiX() / 1440.0);
    }

protected:
    // Sizes every window was designed with, in twips: its buttons, its legend's colour boxes.
    static constexpr QSize kButtonTwips{1095, 375};
    static constexpr QSize kSwatchTwips{495, 255};

    int px(int twips) const { return twipsToPixels(twips, this); }
    // A legend's colour box.
    QLabel *colourSwatch(const QColor &colour);
    // The grid's context menu gains "印刷..." and "CSVで保存..." for this window.
    void offerPrinting(ResultGridView *view);
    // Holds what the window shows besides its buttons. In a window at least as large as its
    // layout needs it looks as if it were not there, its grids taking any room beyond that; in a
    // smaller one it scrolls as a whole, while the buttons, kept out of it, stay in view.
    QScrollArea *scrollingBody(QWidget *body);
    // The top row of a window with a description: the description taking the room, then 印刷
    // and 閉じる, wired to this window.
    QHBoxLayout *descriptionRow(QLabel *description, Qt::Alignment buttonAlignment = {});
};
