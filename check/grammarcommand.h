#pragma once
// The window side of the grammar check: runs the check over the word grid, shows
// the errors in the one report window, and refuses saving or converting while
// errors remain.

#include "check/grammarcheck.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QLineEdit;
class QWidget;

namespace kelvari {

class Dialogs;
class TBeepDialog;
class TfrmError;
class TmStrGrid;

class GrammarCommand : public QObject {
    Q_OBJECT
public:
    struct Parts {
        Dialogs &dialogs;
        TmStrGrid &sgJisho;
        QLineEdit &edtComment;
        TBeepDialog &BeepDlg5;    // "no errors" after a check from the menu
        TBeepDialog &BeepDlg6;    // the gate's refusal
        QWidget *owner = nullptr; // the main window
    };

    explicit GrammarCommand(Parts parts, QObject *parent = nullptr);
    ~GrammarCommand() override;

    // Runs the whole check. A clean result is announced only for the menu's
    // command; the gate's own check stays silent about it.
    void mmBunpoClick(bool fromMenu);

    // True: the caller may go on with `action` ("保存", "変換"). False: the user has
    // been told why not and the report window shows the errors.
    bool GrammarGate(GateAction action);

    // The outcome of the last check.
    bool GrammarErrorsFound() const { return m_errorsFound; }

    // The open report window, or null.
    TfrmError *reportWindow() const;

    // Shows a topic of the program's help (the report window's help button).
    void setShowHelp(std::function<void(int context)> showHelp);

    static QString cleanMessage();
    static QString gateMessage(GateAction action);

private:
    void showReport(const QList<QByteArray> &lines);

    Parts m_parts;
    QPointer<TfrmError> m_window;
    bool m_errorsFound = false;
    std::function<void(int)> m_showHelp;
};

} // namespace kelvari
