#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

// The help file: topics, each indexed under one or more keywords. A topic is a
// <section id="..." data-keywords="a;b"> element of one HTML file; the file's <style> applies
// to every topic.
class HelpIndex {
public:
    struct Topic {
        QString id;
        QString title; // its first heading
        QStringList keywords;
        QString html; // the section's inner HTML
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
    // Every keyword with the topic it leads to, in keyword order.
    const std::map<QString, QString> &keywordIndex() const { return m_keywords; }
    const Topic *topicForKeyword(const QString &keyword) const;
    const Topic *topic(const QString &id) const;
    // A whole page for one topic, with the file's style.
    QString page(const Topic &topic) const;

private:
    QString m_style;
    std::vector<Topic> m_topics;
    std::map<QString, QString> m_keywords;
};
