#include "document/documentmodel.h"

#include "grid/cellstore.h"
#include "platform/errors.h"
#include "platform/sjis.h"

namespace kelvari {

DocumentModel::DocumentModel(QObject *parent) : QObject(parent) {}

DocumentModel::~DocumentModel() = default;

QString DocumentModel::newFileName(int counter) {
    return QStringLiteral("新規辞書") + QString::number(counter) + QStringLiteral(".jmf");
}

bool DocumentModel::isNeverSaved(const QString &fileName) {
    return fileName.startsWith(QStringLiteral("新規辞書"));
}

void DocumentModel::NameNewDocument() {
    ++m_newFileCounter;
    m_currentFileName = newFileName(m_newFileCounter);
    setTitlePath(m_currentFileName);
}

void DocumentModel::setTitlePath(const QString &path) {
    m_titlePath = path;
    emit titleChanged(path);
}

void DocumentModel::setConversionEnabled(bool enabled) {
    m_conversionEnabled = enabled;
    emit conversionEnabledChanged(enabled);
}

QString DocumentModel::setLoadedComment(const QByteArray &bytes) {
    m_loadedComment = bytes;
    m_loadedCommentText = sjis::decode(bytes);
    return m_loadedCommentText;
}

QByteArray DocumentModel::commentBytes(const QString &text) const {
    if (text == m_loadedCommentText)
        return m_loadedComment;
    const sjis::EncodeResult encoded = sjis::encode(text);
    if (!encoded.ok())
        throw AppError(
            QStringLiteral("コメントに保存できない文字 (%1) があります。").arg(encoded.unmappable));
    return encoded.bytes;
}

void DocumentModel::RecordSnapshot(const CellStore &cells, const QString &commentText) {
    QByteArray comment;
    try {
        comment = commentBytes(commentText);
    } catch (const AppError &) {
        // Such a comment never matches (see IsDocumentModified): it is still to be dealt with.
    }
    m_snapshot = DocumentSnapshot::record(cells, comment);
}

void DocumentModel::ClearSnapshot() {
    m_snapshot = DocumentSnapshot();
}

bool DocumentModel::IsDocumentModified(const CellStore &cells, const QString &commentText) const {
    try {
        return m_snapshot.isModified(cells, commentBytes(commentText));
    } catch (const AppError &) {
        return true;
    }
}

void DocumentModel::AddToHistory(const QString &path) {
    if (m_history.add(path))
        m_openedFromHistory = false;
    emit historyChanged();
}

void DocumentModel::UncheckHistory() {
    m_history.uncheck();
    emit historyChanged();
}

void DocumentModel::FillHistoryMenu(const QStringList &paths) {
    m_history.append(paths);
    emit historyChanged();
}

void DocumentModel::checkHistoryEntry(qsizetype index) {
    m_history.check(index);
    emit historyChanged();
}

void DocumentModel::removeHistoryEntry(qsizetype index) {
    m_history.remove(index);
    emit historyChanged();
}

} // namespace kelvari
