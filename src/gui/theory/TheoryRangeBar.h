#pragma once

#include "core/theory/TheoryComparison.h"

#include <QWidget>

class QLabel;
class QSpinBox;

// 範囲: 第 N 回 ～ 第 M 回, over the draw numbers the history holds (all of them at first), and
// beside it how many draws the range gives.
class TheoryRangeBar : public QWidget {
    Q_OBJECT
public:
    TheoryRangeBar(const DrawHistory &history, QWidget *parent = nullptr);

    TheoryRange range() const;
    // "第N回～第M回の D 回", with the draws left out for an empty field when there are any.
    QString rangeText(int draws, int skipped) const;
    void showCount(const QString &text);

signals:
    void rangeChanged();

private:
    QSpinBox *m_from;
    QSpinBox *m_to;
    QLabel *m_count;
};
