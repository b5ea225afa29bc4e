#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

// バージョン情報: a top-level window of its own, outside the multiple-document area.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget *parent = nullptr);

    // Top: a third of (the main window's height minus its top); left: a third of (its width
    // minus its left). Both come from the main window's outer frame.
    static QPoint placement(const QRect &mainFrame);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
};
