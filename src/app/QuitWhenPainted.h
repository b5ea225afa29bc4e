#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <functional>
#include <utility>

// Ends the application right after the watched window has painted a frame for which `ready`
// holds. Start-up is timed to the first frame that shows what it should, as a person sees it;
// the benchmark's reference programs use the same rule so the comparison is fair.
class QuitWhenPainted : public QObject {
public:
    explicit QuitWhenPainted(std::function<bool()> ready) : m_ready(std::move(ready)) {}

    bool eventFilter(QObject *, QEvent *event) override {
        // A top-level window paints itself and its children while it handles the update request.
        if (event->type() == QEvent::UpdateRequest && !m_quitting && m_ready()) {
            m_quitting = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    std::function<bool()> m_ready;
    bool m_quitting = false;
};
