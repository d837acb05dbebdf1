#pragma once
// The program's help engine: the help file "X.hlp" is shipped compiled beside
// the program (see compiledHelpCollection) and shown in one help window of
// ours. Nothing is opened before the first request, so the help costs the
// program nothing until the user asks for it.

#include "platform/helpengine.h"

#include <QUrl>
#include <memory>

class QHelpEngine;

namespace kelvari {

class HelpWindow;

class HelpViewer : public HelpEngine {
public:
    explicit HelpViewer(const QString &helpFile = {});
    ~HelpViewer() override;
    HelpViewer(const HelpViewer &) = delete;
    HelpViewer &operator=(const HelpViewer &) = delete;

    void setHelpFile(const QString &path) override;
    QString helpFile() const override { return m_helpFile; }

    void showContext(int context) override;
    void showContents() override;
    void showKeywordSearch() override;
    void quit() override;

    // The page of a context number; empty when the help has none or cannot be opened.
    QUrl pageForContext(int context);
    // The help window; nullptr before the first request and after quit().
    HelpWindow *window() const { return m_window.get(); }

private:
    // Opens the compiled help once; false (and a notice in the window) when it cannot.
    bool openHelp();
    // The compiled help is open and usable.
    bool helpOpen() const { return m_engine && m_problem.isEmpty(); }
    QUrl pageForIdentifier(const QString &id);
    HelpWindow &openWindow();
    void present();

    QString m_helpFile;
    // The window goes before the engine it shows.
    std::unique_ptr<QHelpEngine> m_engine;
    QString m_problem; // why the help could not be opened
    std::unique_ptr<HelpWindow> m_window;
};

} // namespace kelvari
