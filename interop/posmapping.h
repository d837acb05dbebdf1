#pragma once
// Parts of speech between this editor's 41 names and the user-dictionary
// names of other input methods. One table, read both ways.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace kelvari {

enum class InteropFormat { Mozc, MsIme, Skk, Text };

struct PosMapping {
    QByteArray name;  // one of the 41 names, CP932
    QByteArray mozc;  // CP932
    QByteArray msIme; // CP932
};

// One entry per name of the part-of-speech list, in its order.
const QList<PosMapping> &posMappings();

// The target's name for one of the 41 names; empty when `name` is none of them.
// Formats without parts of speech (skk, text) give `name` back.
QByteArray posToTarget(InteropFormat format, QByteArrayView name);

// The name among the 41 for a target's name. Where several of the 41 fold into
// one target name, the most general of them. Empty when the target name is unknown.
QByteArray posFromTarget(InteropFormat format, QByteArrayView targetName);

// Every part-of-speech name the target's user dictionary knows.
const QList<QByteArray> &targetPosNames(InteropFormat format);

// The name given to imported entries that carry no part of speech: "名詞".
QByteArray defaultPartOfSpeech();

} // namespace kelvari
