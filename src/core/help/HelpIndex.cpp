#include "core/help/HelpIndex.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace {
// Katakana to hiragana, and the compatibility forms (full-width digits and letters, half-width
// katakana) to their plain ones, so that any way of typing a word finds it.
QString folded(const QString &text) {
    QString s = text.normalized(QString::NormalizationForm_KC).toLower();
    for (QChar &c : s)
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(c.unicode() - 0x60);
    return s;
}

bool isKana(QChar c) {
    return (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) || (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FA);
}

bool before(const HelpIndex::Keyword &a, const HelpIndex::Keyword &b) {
    const QString ka = HelpIndex::sortKey(a.reading), kb = HelpIndex::sortKey(b.reading);
    if (ka != kb)
        return ka < kb;
    // The same sounds: unvoiced before voiced, large before small kana.
    const QString fa = folded(a.reading).normalized(QString::NormalizationForm_D);
    const QString fb = folded(b.reading).normalized(QString::NormalizationForm_D);
    return fa != fb ? fa < fb : a.text < b.text;
}
} // namespace

QString HelpIndex::sortKey(const QString &reading) {
    QString key;
    for (QChar c : folded(reading).normalized(QString::NormalizationForm_D)) {
        if (c.unicode() == 0x3099 || c.unicode() == 0x309A)
            continue; // voiced and semi-voiced marks
        // ぁぃぅぇぉっゃゅょゎ sort as あいうえおつやゆよわ.
        static const QString small = QStringLiteral("ぁぃぅぇぉっゃゅょゎ");
        if (small.contains(c))
            c = QChar(c.unicode() + 1);
        key += c;
    }
    return key;
}

bool HelpIndex::matches(const Keyword &keyword, const QString &typed) {
    const QString wanted = folded(typed.trimmed());
    return wanted.isEmpty() || folded(keyword.text).contains(wanted) || folded(keyword.reading).contains(wanted);
}

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
        for (const QString &entry : m.captured(2).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString text = entry.section(QLatin1Char('|'), 0, 0).trimmed();
            QString reading = entry.section(QLatin1Char('|'), 1).trimmed();
            if (reading.isEmpty())
                reading = text;
            t.keywords << text;
            // The first topic indexed under a keyword wins.
            if (!index.topicForKeyword(text))
                index.m_keywords.push_back({text, reading, t.id});
        }
        if (const auto h = heading.match(t.html); h.hasMatch())
            t.title = h.captured(1).remove(tags).trimmed();
        index.m_topics.push_back(std::move(t));
    }
    std::stable_sort(index.m_keywords.begin(), index.m_keywords.end(), before);
    return index;
}

bool HelpIndex::readingIsKana(const QString &reading) {
    return !reading.isEmpty() && std::all_of(reading.begin(), reading.end(), isKana);
}

const HelpIndex::Keyword *HelpIndex::keywordAtOrAfter(const QString &text) const {
    for (const Keyword &k : m_keywords)
        if (k.text == text)
            return &k;
    const Keyword probe{text, text, QString()};
    const auto it = std::lower_bound(m_keywords.begin(), m_keywords.end(), probe, before);
    return it == m_keywords.end() ? nullptr : &*it;
}

const HelpIndex::Topic *HelpIndex::topicForKeyword(const QString &keyword) const {
    for (const Keyword &k : m_keywords)
        if (k.text == keyword)
            return topic(k.topicId);
    return nullptr;
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
