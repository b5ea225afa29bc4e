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
    // Unhinted glyphs: hinting runs the font's TrueType program for every glyph the first time
    // it is measured or drawn, the larger part of painting the first window's Japanese texts,
    // and at 9 points the kanji look the same without it (as they do on paper, and on
    // high-density screens, where Qt never hints).
    font.setHintingPreference(QFont::PreferNoHinting);
    // Kana and kanji need no shaping: without it the same glyphs stand at the same places, and
    // HarfBuzz is not run over every text.
    font.setStyleStrategy(QFont::PreferNoShaping);
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
