#pragma once
// The window side of moving word lists to and from other input methods: the
// File menu's export and import and the Edit menu's duplicate search. The
// formats and checks themselves live in interop/.

#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace kelvari {

class Dialogs;
class TmStrGrid;
struct MainWindowState;

class InteropCommands {
public:
    struct Parts {
        Dialogs &dialogs;
        TmStrGrid &grid;
        const MainWindowState &state; // MaxRow
        QWidget *owner = nullptr;
        // Runs after imported rows went into the grid (the window follows the current row).
        std::function<void()> afterImport;
    };
    explicit InteropCommands(Parts parts);

    void mmExportClick();
    void mmImportClick();
    void mmDuplicatesClick();

    // The file dialogs' filters; the chosen filter's index picks the format.
    static QString exportFilter();
    static QString importFilter();

private:
    void message(const QString &text, bool error = false);

    Parts m;
};

} // namespace kelvari
