#pragma once
// The program's help, addressed as the windows address it: by context number,
// plus the contents, the keyword search and quit. The windows receive a
// HelpEngine; the program passes the one over the compiled help beside it
// (widgets/helpviewer.h), tests pass a recording one.

#include <QString>
#include <array>

namespace kelvari {

// Context numbers the program asks for; the help has a page for each.
namespace HelpContext {
constexpr int AfterConversion = 10003;  // shown after a conversion
constexpr int Toolbar = 10004;          // the toolbar's help button
constexpr int SettingsGeneral = 10005;  // settings dialog, page "一般"
constexpr int GrammarReport = 10006;    // the grammar report window
constexpr int PartOfSpeech = 10007;     // the part-of-speech list
constexpr int SettingsViewer = 10017;   // settings dialog, the viewer page
constexpr int ViewerFiles = 10047;      // settings: the viewer's file kinds
constexpr int MaxRow = 10049;           // settings: maximum rows
constexpr int PathInTitle = 10050;      // settings: path in the title
constexpr int StartUtility = 10051;     // settings: start the utility after converting
constexpr int HelpAfterConvert = 10052; // settings: help after converting
constexpr int SaveFolder = 10053;       // settings: folder of new files
constexpr int BrowseSaveFolder = 10054; // settings: the folder's browse button
} // namespace HelpContext

constexpr std::array<int, 13> kHelpContexts = {
    HelpContext::AfterConversion, HelpContext::Toolbar,          HelpContext::SettingsGeneral,
    HelpContext::GrammarReport,   HelpContext::PartOfSpeech,     HelpContext::SettingsViewer,
    HelpContext::ViewerFiles,     HelpContext::MaxRow,           HelpContext::PathInTitle,
    HelpContext::StartUtility,    HelpContext::HelpAfterConvert, HelpContext::SaveFolder,
    HelpContext::BrowseSaveFolder};

class HelpEngine {
public:
    virtual ~HelpEngine() = default;

    // The program's help file, as the program names it (".../Ruvex.hlp").
    virtual void setHelpFile(const QString &path) = 0;
    virtual QString helpFile() const = 0;

    // Opens the page of a context number.
    virtual void showContext(int context) = 0;
    // Opens the contents.
    virtual void showContents() = 0;
    // Opens the keyword index with its search field.
    virtual void showKeywordSearch() = 0;
    // Closes whatever help the program opened; the program is ending.
    virtual void quit() = 0;
};

// The help the program names "X.hlp" is shipped compiled, as the collection
// "X.qhc" and its pages "X.qch" in the same folder. This is the one place that
// maps the one name onto the other.
QString compiledHelpCollection(const QString &helpFile);

} // namespace kelvari
