#pragma once
// The open document, apart from its words (which the grid holds): its name, the
// counter for the names of new documents, the snapshot that the modified test
// compares with, the outcome of the last save, the file history, the caption's
// path and whether the conversion commands apply. The document commands change
// it; the window follows its signals to rebuild its caption and File menu.

#include "document/recentfiles.h"
#include "document/snapshot.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

namespace kelvari {

class CellStore;

class DocumentModel : public QObject {
    Q_OBJECT
public:
    explicit DocumentModel(QObject *parent = nullptr);
    ~DocumentModel() override;

    // --- name ---
    // The full path, or the bare "新規辞書<N>.jmf" of a never-saved document.
    const QString &CurrentFileName() const { return m_currentFileName; }
    void setCurrentFileName(const QString &path) { m_currentFileName = path; }
    int NewFileCounter() const { return m_newFileCounter; }
    // Names a new, never-saved document: the counter goes up by one, the name
    // follows it and the caption shows it.
    void NameNewDocument();
    static QString newFileName(int counter);
    // A name starting with "新規辞書" marks a document that was never saved.
    static bool isNeverSaved(const QString &fileName);

    // --- caption ---
    // The path the caption shows. Usually the document's name; after an
    // add-open the added file's. Setting it always signals titleChanged, so the
    // caption follows the title rule as it stands now.
    const QString &titlePath() const { return m_titlePath; }
    void setTitlePath(const QString &path);

    // --- saving and loading ---
    bool SaveSucceeded() const { return m_saveSucceeded; }
    void setSaveSucceeded(bool succeeded) { m_saveSucceeded = succeeded; }
    // Set while a history entry is being opened: that load leaves the history alone.
    bool OpenedFromHistory() const { return m_openedFromHistory; }
    void setOpenedFromHistory(bool fromHistory) { m_openedFromHistory = fromHistory; }
    // The conversion commands apply to a document loaded from a ".jmf" file.
    // Every load sets it, and signals conversionEnabledChanged also when it stays.
    bool conversionEnabled() const { return m_conversionEnabled; }
    void setConversionEnabled(bool enabled);

    // --- comment ---
    // The comment as read from the file and the text it shows as; saving the
    // unchanged text writes the read bytes back, also where they do not decode cleanly.
    QString setLoadedComment(const QByteArray &bytes);
    // The bytes a save writes for `text`. Throws AppError for a character CP932 cannot hold.
    QByteArray commentBytes(const QString &text) const;

    // --- modified test ---
    void RecordSnapshot(const CellStore &cells, const QString &commentText);
    // The empty document: a new document counts as unchanged.
    void ClearSnapshot();
    // What a save would write differs from the last load or save.
    bool IsDocumentModified(const CellStore &cells, const QString &commentText) const;

    // --- history ---
    const RecentFiles &history() const { return m_history; }
    // Checks an equal entry or makes a new checked top entry (RecentFiles::add);
    // a new entry also ends OpenedFromHistory.
    void AddToHistory(const QString &path);
    void UncheckHistory();
    // Appends entries as read from the settings: unchecked, not compared, not limited.
    void FillHistoryMenu(const QStringList &paths);
    void checkHistoryEntry(qsizetype index);
    void removeHistoryEntry(qsizetype index);

signals:
    void titleChanged(const QString &path);
    // Any change of the entries or of the check mark.
    void historyChanged();
    void conversionEnabledChanged(bool enabled);

private:
    QString m_currentFileName;
    int m_newFileCounter = 0;
    QString m_titlePath;
    bool m_saveSucceeded = false;
    bool m_openedFromHistory = false;
    bool m_conversionEnabled = true;
    DocumentSnapshot m_snapshot;
    QByteArray m_loadedComment;
    QString m_loadedCommentText;
    RecentFiles m_history;
};

} // namespace kelvari
