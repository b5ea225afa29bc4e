#include "shell/HelpIndex.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

QString HelpIndex::locate(const QString &currentDir, const QString &programDir) {
    const QString name = QString::fromUtf8(kFileName);
    const QString here = QDir(currentDir).filePath(name);
    if (QFile::exists(here))
        return here;
    const QString beside = QDir(programDir).filePath(name);
    return QFile::exists(beside) ? beside : here;
}

std::optional<HelpIndex> HelpIndex::load(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(QString::fromUtf8(file.readAll()));
}

HelpIndex HelpIndex::parse(const QString &html) {
    HelpIndex index;
    static const QRegularExpression style(QStringLiteral("<style[^>]*>(.*?)</style>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    if (const auto m = style.match(html); m.hasMatch())
        index.m_style = m.captured(1);

    static const QRegularExpression section(
        QStringLiteral("<section\\s+id=\"([^\"]+)\"\\s+data-keywords=\"([^\"]*)\"\\s*>(.*?)</section>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression heading(QStringLiteral("<h[1-3][^>]*>(.*?)</h[1-3]>"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]+>"));
    for (auto it = section.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        Topic t{m.captured(1), QString(), QStringList(), m.captured(3)};
        for (const QString &k : m.captured(2).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            t.keywords << k.trimmed();
        if (const auto h = heading.match(t.html); h.hasMatch())
            t.title = h.captured(1).remove(tags).trimmed();
        for (const QString &k : t.keywords)
            index.m_keywords.emplace(k, t.id); // the first topic indexed under a keyword wins
        index.m_topics.push_back(std::move(t));
    }
    return index;
}

const HelpIndex::Topic *HelpIndex::topicForKeyword(const QString &keyword) const {
    const auto it = m_keywords.find(keyword);
    return it == m_keywords.end() ? nullptr : topic(it->second);
}

const HelpIndex::Topic *HelpIndex::topic(const QString &id) const {
    for (const Topic &t : m_topics)
        if (t.id == id)
            return &t;
    return nullptr;
}

QString HelpIndex::page(const Topic &topic) const {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><style>%1</style></head><body>%2</body></html>")
        .arg(m_style, topic.html);
}
