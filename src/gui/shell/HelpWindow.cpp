#include "gui/shell/HelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("ナナズバリオ ヘルプ"));
    auto *splitter = new QSplitter(this);
    auto *indexPane = new QWidget(splitter);
    m_search = new QLineEdit(indexPane);
    m_search->setObjectName(QStringLiteral("keywordSearch"));
    m_search->setPlaceholderText(QStringLiteral("キーワードを入力"));
    m_search->setClearButtonEnabled(true);
    m_keywords = new QListWidget(indexPane);
    m_keywords->setObjectName(QStringLiteral("keywordIndex"));
    auto *indexLayout = new QVBoxLayout(indexPane);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(m_search);
    indexLayout->addWidget(m_keywords);
    m_browser = new QTextBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("topicView"));
    m_browser->setOpenLinks(false);
    splitter->setStretchFactor(1, 3);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(820, 600);
    splitter->setSizes({250, 570});

    connect(m_keywords, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showKeyword(item->text()); });
    connect(m_keywords, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { showKeyword(item->text()); });
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(m_search, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    // Enter in the box opens the first keyword left.
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        for (int i = 0; i < m_keywords->count(); ++i)
            if (!m_keywords->item(i)->isHidden()) {
                m_keywords->setCurrentRow(i);
                showKeyword(m_keywords->item(i)->text());
                return;
            }
    });
}

bool HelpWindow::openFile(const QString &path) {
    std::optional<HelpIndex> index = HelpIndex::load(path);
    if (!index)
        return false;
    m_index = std::move(index);
    m_keywords->clear();
    for (const HelpIndex::Keyword &k : m_index->keywordIndex()) {
        auto *item = new QListWidgetItem(k.text, m_keywords);
        item->setData(Qt::UserRole, k.topicId);
    }
    filterIndex(m_search->text());
    return true;
}

void HelpWindow::showIndex(const QString &keyword) {
    const HelpIndex::Keyword *at = m_index ? m_index->keywordAtOrAfter(keyword) : nullptr;
    if (!at)
        return;
    const QList<QListWidgetItem *> found = m_keywords->findItems(at->text, Qt::MatchExactly);
    if (found.isEmpty() || found.front()->isHidden())
        return;
    m_keywords->setCurrentItem(found.front());
    m_keywords->scrollToItem(found.front(), QAbstractItemView::PositionAtTop);
}

void HelpWindow::filterIndex(const QString &typed) {
    if (!m_index)
        return;
    const std::vector<HelpIndex::Keyword> &keywords = m_index->keywordIndex();
    for (int i = 0; i < m_keywords->count() && i < int(keywords.size()); ++i)
        m_keywords->item(i)->setHidden(!HelpIndex::matches(keywords[std::size_t(i)], typed));
    if (QListWidgetItem *current = m_keywords->currentItem(); current && !current->isHidden())
        m_keywords->scrollToItem(current);
}

void HelpWindow::selectTopicInIndex(const QString &id) {
    QListWidgetItem *current = m_keywords->currentItem();
    if (current && current->data(Qt::UserRole).toString() == id && !current->isHidden())
        return;
    // The topic's first keyword, else any other it is indexed under.
    const HelpIndex::Topic *topic = m_index ? m_index->topic(id) : nullptr;
    QListWidgetItem *choice = nullptr;
    for (int i = 0; i < m_keywords->count(); ++i) {
        QListWidgetItem *item = m_keywords->item(i);
        if (item->isHidden() || item->data(Qt::UserRole).toString() != id)
            continue;
        if (!choice || (topic && !topic->keywords.isEmpty() && item->text() == topic->keywords.front()))
            choice = item;
    }
    if (choice) {
        m_keywords->setCurrentItem(choice);
        m_keywords->scrollToItem(choice);
    } else {
        m_keywords->setCurrentItem(nullptr);
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
    selectTopicInIndex(id);
    setWindowTitle(QStringLiteral("ナナズバリオ ヘルプ - %1").arg(topic->title));
    return true;
}

void HelpWindow::followLink(const QUrl &url) {
    if (url.isRelative() && url.path().isEmpty() && url.hasFragment())
        showTopic(url.fragment());
    else
        QDesktopServices::openUrl(url);
}
