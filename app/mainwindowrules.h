#pragma once
// The main window's arithmetic and text rules, kept free of widgets so that they
// can be checked on their own.

#include <QString>
#include <QStringList>

namespace kelvari {

// The program's title; the caption before any document is named.
inline QString programTitle() {
    return QStringLiteral("Kelvari 2.0b");
}

// Design size of the main window and of the controls that follow it.
inline constexpr int kDesignFormHeight = 425;
inline constexpr int kDesignFormWidth = 602;

// "Kelvari 2.0b - " and the path, or only its file-name part (what follows the
// last "\", ":" or "/").
QString TitleFor(const QString &path, bool showFullPath);

// Removes `count` characters starting `distance` characters from the end
// (1-based position length - distance + 1). Out-of-range positions change nothing.
QString DeleteFromEnd(const QString &text, int distance, int count);

// The file named on the command line: one argument as it is, several joined by
// single blanks (an unquoted path with blanks arrives in pieces), none: empty.
// `arguments` excludes the program itself.
QString CommandLineFileName(const QStringList &arguments);

// What one resize event does to the controls that follow the window.
struct ResizeChange {
    int hinsiHeight = 0;  // added to the part-of-speech list's height
    int commentWidth = 0; // added to the comment box's width
    int columnWidth = 0;  // added to grid columns 1 and 2 each
};

// dH and dW are the change since the last recorded size. Half of dW goes to each
// of the two text columns, halved toward zero (-3 gives -1).
ResizeChange resizeChangeFor(int heightChange, int widthChange);

} // namespace kelvari
