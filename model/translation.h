#pragma once

#include <QPair>
#include <QString>
#include <QVector>

// One English text of the user interface and its Chinese counterpart.
using TranslationPair = QPair<QString, QString>;

// The interface's language is held here once for the whole program: chosen
// at start from the settings file, it does not change while the program runs.
// Widgets and pages ask for it when they set a text instead of keeping a flag.
void setInterfaceChinese(bool useChinese);
bool interfaceIsChinese();

// Every user-interface text is written in English and shown through this
// lookup, in the interface's language. Chinese: the Chinese text of the
// first entry whose English text matches. English: the English text of the
// first entry whose Chinese text matches, so English comes back unchanged
// and a Chinese text of the table comes back as English. Texts not in the
// table are returned unchanged.
QString translateText(const QString &text);
// The same for a text written in the source (UTF-8).
QString translateText(const char *english);

// "1 key" or "3 keys": `one` for a count of one, else `many` with the count
// put in for its %1; both in the interface's language.
QString translateCount(int count, const char *one, const char *many);

// The table behind translateText, in lookup order (first match wins).
const QVector<TranslationPair> &translationTable();
