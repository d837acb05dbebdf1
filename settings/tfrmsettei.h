#pragma once
// The settings dialog: the editor's general settings on the page "一般", the
// Ichitaro viewer associations on "一太郎ファイル". It fills both pages when it is
// created and stores both when it is closed with OK (FormClose); the main window
// then adopts the general values.

#include "settings/editorsettings.h"
#include "settings/viewerassociations.h"

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;

namespace Ui {
class TfrmSettei;
}

namespace kelvari {

class Dialogs;
class TBrowseDialog;

class TfrmSettei : public QDialog {
    Q_OBJECT
public:
    // Runs FormCreate. Both stores must outlive the dialog.
    TfrmSettei(Dialogs &dialogs, EditorSettings &settings, ViewerKeyStore &viewerKeys,
               QWidget *parent = nullptr);
    ~TfrmSettei() override;

    // Shows topic `context` of the program's help: the help button and the
    // controls picked with the caption's help button.
    void setShowHelp(std::function<void(int context)> showHelp) {
        m_showHelp = std::move(showHelp);
    }

    // The controls of the form, by their names.
    ::Ui::TfrmSettei &form() { return *ui; }
    TBrowseDialog *BrowseDlg = nullptr;

    // The general values as the dialog holds them; SaveDir is the field's text,
    // empty when the user emptied it.
    GeneralSettings values() const;
    // True once a close with OK has stored both pages.
    bool stored() const { return m_stored; }

    // The state of the page "一太郎ファイル", by Tag (1 to 6).
    bool changedFlag(int tag) const { return m_changedFlags.at(tag - 1); }
    QCheckBox *viewerBox(int tag) const { return m_viewerBoxes.at(tag - 1); }

    // Sets the browser's status line to the selected folder.
    void BrowseDlgSelectionChanged(TBrowseDialog &sender, int wnd, const QString &path,
                                   QString &showText, int &okButtonState);

public slots:
    void btnRefferClick();
    void bbOKClick();
    void bbHelpClick();
    // The click handler of the six viewer boxes; tells them apart by their Tag.
    void cbVer7Click();

protected:
    // Every close, whatever closed the dialog, runs FormClose.
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormClose();
    void loadViewerPage();

    std::unique_ptr<::Ui::TfrmSettei> ui;
    Dialogs &m_dialogs;
    EditorSettings &m_settings;
    ViewerKeyStore &m_viewerKeys;
    std::function<void(int)> m_showHelp;
    std::array<QCheckBox *, kViewerAssociationCount> m_viewerBoxes{};
    std::array<bool, kViewerAssociationCount> m_changedFlags{};
    bool m_loadingFlag = false;
    bool m_okFlag = false;
    bool m_stored = false;
    QString m_saveDirAtOpening;
};

} // namespace kelvari
