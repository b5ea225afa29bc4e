#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The help file: topics, each indexed under one or more keywords. A topic is a
// <section id="..." data-keywords="a|reading;b|reading"> element of one HTML file; the file's
// <style> applies to every topic. A keyword's reading, in hiragana, puts it in its place in the
// index (あいうえお順); a keyword written in kana alone may leave it out.
class HelpIndex {
public:
    struct Topic {
        QString id;
        QString title; // its first heading
        QStringList keywords;
        QString html; // the section's inner HTML
    };
    struct Keyword {
        QString text;
        QString reading;
        QString topicId;
    };

    static constexpr const char *kFileName = "ナナズバリオX.html";
    static constexpr const char *kAboutKeyword = "ナナズバリオについて";

    // The help file of the current directory, else the one beside the executable; the
    // current directory's path when neither exists (so a message can name it).
    static QString locate(const QString &currentDir, const QString &programDir);

    // nullopt when the file cannot be read.
    static std::optional<HelpIndex> load(const QString &path);
    static HelpIndex parse(const QString &html);

    const std::vector<Topic> &topics() const { return m_topics; }
    // Every keyword with its reading and the topic it leads to, in the order of the readings.
    const std::vector<Keyword> &keywordIndex() const { return m_keywords; }
    // The first keyword at or after text in the order of the index; nullptr past the end.
    const Keyword *keywordAtOrAfter(const QString &text) const;
    // Whether the keyword matches what the user typed: a part of it or of its reading, in
    // hiragana or katakana, full or half width.
    static bool matches(const Keyword &keyword, const QString &typed);
    // Whether a reading is made of kana only; one that is not cannot place its keyword.
    static bool readingIsKana(const QString &reading);
    // A reading as the index orders it: hiragana, large kana, voiced marks apart.
    static QString sortKey(const QString &reading);
    const Topic *topicForKeyword(const QString &keyword) const;
    const Topic *topic(const QString &id) const;
    // A whole page for one topic, with the file's style.
    QString page(const Topic &topic) const;

private:
    QString m_style;
    std::vector<Topic> m_topics;
    std::vector<Keyword> m_keywords;
};
