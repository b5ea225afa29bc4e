#include "gui/theory/TheoryRangeBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

TheoryRangeBar::TheoryRangeBar(const DrawHistory &history, QWidget *parent)
    : QWidget(parent), m_from(new QSpinBox(this)), m_to(new QSpinBox(this)), m_count(new QLabel(this)) {
    // Every stored draw number, so that the range at its ends covers the whole history.
    int first = DrawRules::kMaxDrawNumber, last = DrawRules::kMinDrawNumber;
    for (const DrawRecord &d : history.records())
        if (DrawRules::isDrawNumber(d.drawNumber)) {
            first = std::min(first, d.drawNumber);
            last = std::max(last, d.drawNumber);
        }
    first = std::min(first, last);
    m_from->setObjectName(QStringLiteral("spnFrom"));
    m_to->setObjectName(QStringLiteral("spnTo"));
    m_count->setObjectName(QStringLiteral("lblCount"));
    for (QSpinBox *spin : {m_from, m_to}) {
        spin->setRange(first, last);
        spin->setKeyboardTracking(false);
    }
    m_from->setValue(first);
    m_to->setValue(last);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("範囲: 第"), this));
    layout->addWidget(m_from);
    layout->addWidget(new QLabel(QStringLiteral("回 ～ 第"), this));
    layout->addWidget(m_to);
    layout->addWidget(new QLabel(QStringLiteral("回"), this));
    layout->addSpacing(24);
    layout->addWidget(m_count);
    layout->addStretch(1);

    // Neither end passes the other.
    connect(m_from, &QSpinBox::valueChanged, this, [this](int v) {
        m_to->setMinimum(v);
        emit rangeChanged();
    });
    connect(m_to, &QSpinBox::valueChanged, this, [this](int v) {
        m_from->setMaximum(v);
        emit rangeChanged();
    });
}

TheoryRange TheoryRangeBar::range() const {
    return {m_from->value(), m_to->value()};
}

QString TheoryRangeBar::rangeText(int draws, int skipped) const {
    QString text = QStringLiteral("第%1回～第%2回の %3 回").arg(m_from->value()).arg(m_to->value()).arg(draws);
    if (skipped)
        text += QStringLiteral("（数字の欠けた %1 回を除く）").arg(skipped);
    return text;
}

void TheoryRangeBar::showCount(const QString &text) {
    m_count->setText(text);
}
