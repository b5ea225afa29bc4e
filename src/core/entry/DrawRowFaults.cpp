// What the rows tell the user: the faults of their cells and how a row is named.
#include "core/entry/DrawRowStore.h"
#include "core/history/DrawRules.h"

#include <QStringList>

using namespace DrawRowCheck;

QString DrawRowStore::numberFaultMessage() {
    return QStringLiteral("当選データの数字に誤りがあります。");
}

// A repeated number is told as the importer tells it, with the cell it sits in.
QString DrawRowStore::numberFaultMessage(const DrawRow::Texts &texts, int column) {
    const int earlier = repeatedColumn(texts, column);
    if (earlier < 0)
        return numberFaultMessage();
    const auto &names = drawColumnNames();
    return QStringLiteral("%1\n%2: %3")
        .arg(numberFaultMessage(), names[std::size_t(column)],
             DrawRules::repeatedNumberText(*DrawRules::parseNumber(texts[column]), names[std::size_t(earlier)]));
}
QString DrawRowStore::dateFaultMessage() {
    return QStringLiteral(
        "抽せん日に誤りがあります。\n抽せん日は 2026/07/31 のように、実在する日付で入力してください。");
}

// The first line is the same for every fault of 回数; the second says which one it is.
QString DrawRowStore::drawNumberFaultMessage(DrawNumberFault fault) {
    QString message = QStringLiteral("回数に誤りがあります。");
    switch (fault) {
    case DrawNumberFault::None:
        break;
    case DrawNumberFault::Missing:
        message += QStringLiteral("\n回数が入力されていません。");
        break;
    case DrawNumberFault::NotANumber:
        message += QStringLiteral("\n回数は %1～%2 の整数で入力してください。")
                       .arg(DrawRules::kMinDrawNumber)
                       .arg(DrawRules::kMaxDrawNumber);
        break;
    case DrawNumberFault::Duplicate:
        message += QStringLiteral("\n同じ回数の行がほかにあります。");
        break;
    }
    return message;
}

std::optional<DrawFault> DrawRowStore::firstFault() const {
    const std::vector<bool> duplicates = duplicateRows(m_rows);
    for (int i = 0; i < rowCount(); ++i) {
        const int c = faultColumn(m_rows[i].texts, duplicates[i]);
        if (c >= 0)
            return DrawFault{i, c,
                             c == 0 ? drawNumberFaultMessage(drawNumberFault(m_rows[i].texts, duplicates[i]))
                             : c == DrawRow::kDateColumn ? dateFaultMessage()
                                                         : numberFaultMessage(m_rows[i].texts, c)};
    }
    return std::nullopt;
}

// How the user finds the row again: its position and, when there is one, its draw number.
QString DrawRowStore::rowName(int row, const QString &drawNumberText) {
    if (drawNumberText.isEmpty())
        return QStringLiteral("%1 行目").arg(row + 1);
    return QStringLiteral("%1 行目（回数 %2）").arg(QString::number(row + 1), drawNumberText);
}

// What the user typed, so that nothing is lost when the row shows something else.
QString DrawRowStore::typedText(const DrawRow::Texts &texts) {
    auto cell = [&](int c) { return texts[c].isEmpty() ? QStringLiteral("空欄") : texts[c]; };
    QStringList numbers, bonus;
    for (int c = 1; c <= DrawRecord::kMainCount; ++c)
        numbers << cell(c);
    for (int c = DrawRecord::kMainCount + 1; c < DrawRow::kDateColumn; ++c)
        bonus << cell(c);
    QString typed = QStringLiteral("入力した内容：回数 %1／数字 %2／ボーナス数字 %3")
                        .arg(cell(0), numbers.join(QLatin1Char(' ')), bonus.join(QLatin1Char(' ')));
    if (const QString &date = texts[DrawRow::kDateColumn]; !date.isEmpty())
        typed += QStringLiteral("／抽せん日 %1").arg(shownText(date, DrawRow::kDateColumn));
    return typed;
}
