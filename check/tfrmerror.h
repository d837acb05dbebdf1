#pragma once
// The grammar report window: a modeless list of the errors the last check found.
// Its size and text font persist in the "ErrorDialog" settings between uses.

#include "platform/helpengine.h"

#include <QByteArray>
#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

namespace Ui {
class TfrmError;
}

class QPlainTextEdit;
class QPushButton;

namespace kelvari {

class Dialogs;

class TfrmError : public QWidget {
    Q_OBJECT
public:
    // Help topic of the report window.
    static constexpr int HelpContext = kelvari::HelpContext::GrammarReport;
    // Error lines the window shows at most; a list with millions of errors
    // would make the text box slow to fill and to scroll.
    static constexpr int MaxErrorLines = 1000;

    // `owner` only keeps the window from outliving the main window; it is still a
    // separate top-level window. Reads its size and font at once (FormCreate).
    explicit TfrmError(Dialogs &dialogs, QWidget *owner = nullptr);
    ~TfrmError() override;

    // Replaces the whole report with `lines` (CP932 bytes, as the check builds them).
    void setReportLines(const QList<QByteArray> &lines);

    // Shows topic `context` of the program's help; empty until the help engine is wired.
    void setShowHelp(std::function<void(int context)> showHelp) {
        m_showHelp = std::move(showHelp);
    }

    QPlainTextEdit *Memo() const;
    QPushButton *bbClose() const;
    QPushButton *bbFont() const;
    QPushButton *bbHelp() const;

    static QByteArray settingsSection() { return QByteArrayLiteral("ErrorDialog"); }

public slots:
    void bbFontClick();
    void bbHelpClick();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormClose();

    std::unique_ptr<Ui::TfrmError> ui;
    Dialogs &m_dialogs;
    std::function<void(int)> m_showHelp;
};

} // namespace kelvari
