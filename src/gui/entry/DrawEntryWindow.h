#pragma once

#include "core/entry/DrawTableModel.h"
#include "core/history/ConnectionString.h"
#include "gui/window/ChildWindow.h"

#include <functional>

class QAction;
class QFontMetrics;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class DrawTableView;

// 当選データ入力: the grid in which the user keeps the draws of the database. Rows are written
// when the user leaves them (if valid); closing checks every row first and stays open on the
// first faulty cell; exit of the program stores what can be stored and says what could not.
class DrawEntryWindow : public ChildWindow {
    Q_OBJECT
public:
    // A Yes/No question (true: Yes). The default asks with a warning icon, No as default.
    using Confirm = std::function<bool(const QString &text)>;
    // An error for the user. The default shows it titled "メッセ－ジ" with a critical icon.
    using Notify = std::function<void(const QString &text)>;

    // Nothing is read before load().
    explicit DrawEntryWindow(const ConnectionString &connection, QWidget *parent = nullptr);
    ~DrawEntryWindow() override;

    // Opens the window's own connection and reads the draws into the grid.
    void load() override;
    // False when the database could not be opened (the window then says so and closes).
    bool isLoaded() const { return m_model->isOpen(); }

    QMenu *windowMenu() override;
    std::optional<std::vector<DrawRecord>> takeDrawsAtOpen() override;
    QSize contentSize() const override;

    // A column heading for a column room pixels wide (without its margins): on one line when it
    // fits, else on two, broken where the kind of writing changes ("第1" / "数字").
    static QString headingLines(const QString &name, const QFontMetrics &metrics, int room);
    void prepareForExit() override;
    // The rows as they stand, stored or not.
    std::optional<PrintDocument> printDocument() const override;

    void setConfirm(Confirm confirm) { m_confirm = std::move(confirm); }
    void setNotify(Notify notify) { m_notify = std::move(notify); }

    DrawTableModel *model() const { return m_model; }
    QTableView *view() const;

    static QString addLineQuestion();
    static QString deleteLineQuestion();
    static QString discardQuestion();

public slots:
    void addLine();
    void deleteLine();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setUpGrid();
    void setColumnWidths();
    bool validateAndStore();
    void rowLeft(int currentRow);
    void rowHeadingMenuRequested(const QPoint &position);
    bool selectionCoversOneRow() const;
    void report(const std::vector<StoreProblem> &problems);

    DrawTableModel *m_model;
    DrawTableView *m_view;
    QLabel *m_label;
    QPushButton *m_close;
    QMenu *m_editMenu;
    QAction *m_addLine;
    QAction *m_delLine;
    Confirm m_confirm;
    Notify m_notify;
    ConnectionString m_connection;
    QString m_loadError;
    bool m_exiting = false;
};
