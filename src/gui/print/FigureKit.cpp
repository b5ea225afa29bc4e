#include "gui/print/FigureKit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QMessageBox>

#include <dlfcn.h>

namespace {
// Where a chart would be, the reason there is none.
template <class Interface>
class Placeholder : public QLabel, public Interface {
public:
    Placeholder(const QString &reason, QWidget *parent)
        : QLabel(QStringLiteral("グラフを表示できません（%1）").arg(reason), parent) {
        setWordWrap(true);
        setAlignment(Qt::AlignCenter);
    }
    QWidget *widget() override { return this; }
    PrintDocument::Figure printed(const QSizeF &) override { return {}; }
};

class PlaceholderHits : public Placeholder<HitDistributionFigure> {
public:
    using Placeholder::Placeholder;
    void setSummary(const Backtest::MethodSummary &, const QString &) override {}
};
class PlaceholderCumulative : public Placeholder<CumulativeHitsFigure> {
public:
    using Placeholder::Placeholder;
    void setPoints(const std::vector<Backtest::CumulativePoint> &, const QString &) override {}
};
class PlaceholderPrizes : public Placeholder<PrizeFigure> {
public:
    using Placeholder::Placeholder;
    void setPoints(const std::vector<PrizeListGrid::ChartPoint> &) override {}
};
class PlaceholderTheory : public Placeholder<TheoryFigure> {
public:
    using Placeholder::Placeholder;
    void setTable(const TheoryTable &) override {}
};

class MissingKit : public FigureKit {
public:
    explicit MissingKit(QString reason) : m_reason(std::move(reason)) {}
    HitDistributionFigure *hitDistribution(QWidget *parent) override { return new PlaceholderHits(m_reason, parent); }
    CumulativeHitsFigure *cumulativeHits(QWidget *parent) override {
        return new PlaceholderCumulative(m_reason, parent);
    }
    PrizeFigure *prizes(QWidget *parent) override { return new PlaceholderPrizes(m_reason, parent); }
    TheoryFigure *theory(QWidget *parent) override { return new PlaceholderTheory(m_reason, parent); }
    void printPreview(PreviewPages &, QWidget *parent) override {
        QMessageBox::critical(parent, QStringLiteral("メッセ－ジ"),
                              QStringLiteral("印刷プレビューを開けません（%1）。").arg(m_reason));
    }

private:
    QString m_reason;
};

FigureKit *load() {
    // A process that links the module (the tests do) has it already.
    if (auto entry = reinterpret_cast<FigureKitEntry>(dlsym(RTLD_DEFAULT, kFigureKitEntry)))
        return entry();
    // Beside the program in the build folder; installed, in the program's library folder.
    const QDir program(QCoreApplication::applicationDirPath());
    const QString name = QStringLiteral("libnanazubario-figures.so");
    const QStringList paths = {program.filePath(name),
                               QDir::cleanPath(program.filePath(QStringLiteral(NANAZUBARIO_MODULE_DIR "/") + name))};
    QString reason = QStringLiteral("%1 がありません（%2）").arg(name, paths.join(QStringLiteral("、")));
    for (const QString &path : paths) {
        if (!QFile::exists(path))
            continue;
        QLibrary module(path);
        module.setLoadHints(QLibrary::PreventUnloadHint);
        if (auto entry = reinterpret_cast<FigureKitEntry>(module.resolve(kFigureKitEntry)))
            return entry();
        reason = module.errorString();
    }
    static MissingKit missing(reason);
    return &missing;
}
} // namespace

FigureKit &FigureKit::instance() {
    static FigureKit *const kit = load();
    return *kit;
}
