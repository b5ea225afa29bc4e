#include "shell/HelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ナナズバリオ ヘルプ"));
    auto *splitter = new QSplitter(this);
    m_keywords = new QListWidget(splitter);
    m_keywords->setObjectName(QStringLiteral("keywordIndex"));
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("topicView"));
    m_browser->setOpenLinks(false);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(820, 600);
    splitter->setSizes({220, 600});

    connect(m_keywords, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showKeyword(item->text()); });
    connect(m_keywords, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { showKeyword(item->text()); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
}

bool HelpWindow::openFile(const QString &path) {
    std::optional<HelpIndex> index = HelpIndex::load(path);
    if (!index)
        return false;
    m_index = std::move(index);
    m_keywords->clear();
    for (const auto &[keyword, id] : m_index->keywordIndex())
        m_keywords->addItem(keyword);
    return true;
}

void HelpWindow::showIndex(const QString &keyword) {
    for (int i = 0; i < m_keywords->count(); ++i) {
        if (m_keywords->item(i)->text() >= keyword) {
            m_keywords->setCurrentRow(i);
            m_keywords->scrollToItem(m_keywords->item(i), QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

bool HelpWindow::showKeyword(const QString &keyword) {
    const HelpIndex::Topic *topic = m_index ? m_index->topicForKeyword(keyword) : nullptr;
    return topic && showTopic(topic->id);
}

bool HelpWindow::showTopic(const QString &id) {
    const HelpIndex::Topic *topic = m_index ? m_index->topic(id) : nullptr;
    if (!topic)
        return false;
    m_currentTopic = id;
    m_browser->setHtml(m_index->page(*topic));
    setWindowTitle(QStringLiteral("ナナズバリオ ヘルプ - %1").arg(topic->title));
    return true;
}

void HelpWindow::followLink(const QUrl &url) {
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment())
        showTopic(url.fragment());
    else
        QDesktopServices::openUrl(url);
}
