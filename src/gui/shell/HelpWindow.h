#pragma once

#include "core/help/HelpIndex.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QUrl;

// Our help viewer: the keyword index on the left, with a box above it that narrows the index as
// one types; the topic on the right. The index keeps its selection on the topic shown.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // false when the file cannot be read; the window then shows nothing new.
    bool openFile(const QString &path);
    // The index, scrolled to the keyword (or the nearest one after it).
    void showIndex(const QString &keyword);
    // The topic indexed under the keyword; false when there is none.
    bool showKeyword(const QString &keyword);
    bool showTopic(const QString &id);

    QString currentTopicId() const { return m_currentTopic; }

private:
    void followLink(const QUrl &url);
    void filterIndex(const QString &typed);
    void selectTopicInIndex(const QString &id);

    std::optional<HelpIndex> m_index;
    QString m_currentTopic;
    QLineEdit *m_search;
    QListWidget *m_keywords;
    QTextBrowser *m_browser;
};
