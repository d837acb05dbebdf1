#pragma once
// The registry's file form: one root's keys and values as REGEDIT4 text in
// CP932. Kept apart from the store so that the parser can be tested and fuzzed
// on its own.

#include "platform/registry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace kelvari::regfile {

// Deeper paths are refused; it also keeps the recursive walks of a tree safe.
constexpr int kMaxDepth = 512;

struct Key {
    QByteArray name;
    QList<std::pair<QByteArray, RegValue>> values; // in insertion order
    std::vector<std::unique_ptr<Key>> children;    // in insertion order

    Key *child(QByteArrayView name) const;
    // The existing child of that name, or a new one appended at the end.
    Key &ensureChild(const QByteArray &name, bool *created = nullptr);
    // Index into `values`, or -1.
    qsizetype valueIndex(QByteArrayView name) const;
    // The key at `components` below this one, or null.
    Key *find(const QList<QByteArray> &components);
    bool isEmpty() const { return values.isEmpty() && children.empty(); }
};

// Names compare without regard to the case of ASCII letters; the second byte of
// a double-byte character is compared exactly (it may look like a letter).
bool namesEqual(QByteArrayView a, QByteArrayView b);
// Blanks and tabs, the separators the text formats allow around names and values.
bool isBlank(char c);
QByteArrayView trimmedBlanks(QByteArrayView text);

// True when the text ends with a lead byte that has no second byte.
bool endsInLoneLeadByte(QByteArrayView text);

// Splits a key path at "\" (never at the second byte of a double-byte character).
// Leading and trailing separators are ignored. Empty components, control
// characters, a dangling lead byte and paths deeper than kMaxDepth give nullopt.
std::optional<QList<QByteArray>> splitKeyPath(QByteArrayView path);

// Whether a value name can be stored (an empty name is the default value).
bool isValidValueName(QByteArrayView name);

struct ParseError {
    int line = 0; // 1-based
    QString reason;
};

// Parses the file of the root named `rootName` into `root` (which must be empty).
// An empty file is an empty root.
bool parse(const QByteArray &bytes, QByteArrayView rootName, Key &root, ParseError *error);

QByteArray serialize(const Key &root, QByteArrayView rootName);

} // namespace kelvari::regfile
