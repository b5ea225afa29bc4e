#pragma once

// The program's texts are Japanese, and so is how the application shows them.
namespace JapaneseTexts {
// A Japanese Gothic face as the application font, so that no Chinese glyph variants are
// chosen; the platform font when it is not installed.
void useFont();
// Qt's own texts (はい, いいえ, キャンセル and the standard dialogs) in Japanese too; false when
// Qt's Japanese translation is not installed.
bool useQtTexts();
} // namespace JapaneseTexts
