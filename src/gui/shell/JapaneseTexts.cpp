#include "gui/shell/JapaneseTexts.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace JapaneseTexts {

void useFont() {
    // Listing the installed families costs more than the rest of start-up; a family that is
    // not installed simply falls back to the next one.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("IPAGothic"), font.family()});
    font.setPointSize(9);
    QApplication::setFont(font);
}

bool useQtTexts() {
    static QTranslator *translator = nullptr;
    if (translator)
        return true;
    auto *loaded = new QTranslator(qApp);
    if (!loaded->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete loaded;
        return false;
    }
    QCoreApplication::installTranslator(loaded);
    translator = loaded;
    return true;
}

} // namespace JapaneseTexts
