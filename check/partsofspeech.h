#pragma once
// The 41 part-of-speech names the dictionary utility knows, in the order of the
// main window's part-of-speech list (index 0 "名詞" ... 40 "単漢字").

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace kelvari {

constexpr int kPartOfSpeechCount = 41;

// CP932 bytes, as stored in the grid.
const QList<QByteArray> &partOfSpeechNames();
// The same names for display.
QStringList partOfSpeechDisplayNames();
// Index of an exact name, -1 when it is none of them.
int partOfSpeechIndex(QByteArrayView name);

} // namespace kelvari
