#include "app/interopcommands.h"

#include "document/fileio.h"
#include "document/mainwindowstate.h"
#include "document/wordlist.h"
#include "grid/tmstrgrid.h"
#include "interop/duplicates.h"
#include "interop/exporter.h"
#include "interop/importer.h"
#include "platform/atomicfile.h"
#include "platform/dialogs.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QListWidget>
#include <QVBoxLayout>

namespace kelvari {

namespace {

constexpr InteropFormat kExportFormats[] = {InteropFormat::Mozc, InteropFormat::MsIme,
                                            InteropFormat::Skk};
constexpr InteropFormat kImportFormats[] = {InteropFormat::Mozc, InteropFormat::MsIme,
                                            InteropFormat::Skk, InteropFormat::Text};

// A message box holds a screenful; the rest is counted, never dropped silently.
constexpr int kListedLines = 30;

QString listed(const QStringList &lines) {
    QStringList shown = lines.mid(0, kListedLines);
    if (lines.size() > kListedLines)
        shown << QStringLiteral("ほか %1 件").arg(lines.size() - kListedLines);
    return shown.join(u'\n');
}

// The report lines (CP932) as listed() shows them; only the lines shown are decoded.
QString listed(const QList<QByteArray> &lines) {
    QStringList shown;
    for (const QByteArray &line : lines.mid(0, kListedLines))
        shown << sjis::decode(line);
    if (lines.size() > kListedLines)
        shown << QStringLiteral("ほか %1 件").arg(lines.size() - kListedLines);
    return shown.join(u'\n');
}

QString rowText(const CellStore &cells, int row) {
    QStringList parts{QStringLiteral("%1行目").arg(row)};
    for (int col = WordColumn::Reading; col <= WordColumn::PartOfSpeech; ++col)
        parts << sjis::decode(cells.cell(col, row));
    return parts.join(u'\t');
}

} // namespace

InteropCommands::InteropCommands(Parts parts) : m(std::move(parts)) {}

QString InteropCommands::exportFilter() {
    return QStringLiteral("mozc 形式 (*.txt);;msime 形式 (*.txt);;skk 形式 (*.txt)");
}

QString InteropCommands::importFilter() {
    return QStringLiteral("mozc 形式 (*.txt);;msime 形式 (*.txt);;skk 形式 (*.txt);;"
                          "テキスト (タブ・カンマ区切り) (*.txt *.csv *.tsv)");
}

void InteropCommands::message(const QString &text, bool error) {
    if (error)
        m.dialogs.error(m.owner, text);
    else
        m.dialogs.information(m.owner, text);
}

void InteropCommands::mmExportClick() {
    FileDialogRequest request;
    request.owner = m.owner;
    request.title = QStringLiteral("エクスポート");
    request.filter = exportFilter();
    request.defaultSuffix = QStringLiteral("txt");
    request.overwritePrompt = true;
    const auto answer = m.dialogs.saveFile(request);
    if (!answer)
        return;
    if (answer->filterIndex < 0 || answer->filterIndex >= int(std::size(kExportFormats)))
        return;
    const InteropFormat format = kExportFormats[answer->filterIndex];

    ExportOptions options;
    options.fileName = QFileInfo(answer->fileName).fileName();
    options.writtenAt = QDateTime::currentDateTime();
    m.grid.commitEditor(true);
    const CellStore &cells = m.grid.cells();
    ExportResult result = exportWordList(format, cells, options);
    if (!result.accepted) {
        const QList<QByteArray> found = result.grammarErrors + result.problems;
        MessageRequest ask;
        ask.owner = m.owner;
        ask.kind = MessageKind::Confirmation;
        ask.text = QStringLiteral("エラーがあります。エクスポートしますか？\n") + listed(found);
        ask.buttons = MessageButton::Yes | MessageButton::No;
        if (m.dialogs.message(ask) != ResultYes)
            return;
        options.force = true;
        result = exportRows(format, cells, options); // the grammar check was run above
        if (!result.accepted)
            return;
    }
    try {
        saveFileAtomically(answer->fileName, result.bytes);
    } catch (const AppError &e) {
        message(e.message(), true);
        return;
    }
    if (!result.problems.isEmpty())
        message(QStringLiteral("%1 件をエクスポートしました。次の行は書き出さなかったか、"
                               "変えて書き出しました。\n")
                    .arg(result.entries) +
                listed(result.problems));
}

void InteropCommands::mmImportClick() {
    FileDialogRequest request;
    request.owner = m.owner;
    request.title = QStringLiteral("インポート");
    request.filter = importFilter();
    request.fileMustExist = true;
    const auto answer = m.dialogs.openFile(request);
    if (!answer)
        return;
    if (answer->filterIndex < 0 || answer->filterIndex >= int(std::size(kImportFormats)))
        return;
    const InteropFormat format = kImportFormats[answer->filterIndex];

    ImportResult imported;
    try {
        imported = importWordList(format, readWholeFile(answer->fileName));
    } catch (const AppError &e) {
        message(e.message(), true);
        return;
    }
    const int count = int(imported.rows.size());
    AppendResult placed;
    if (count > 0) {
        const auto bulk = m.grid.bulkChange();
        placed = appendImportedRows(m.grid.cells(), std::move(imported.rows), m.state.MaxRow);
    }
    if (placed.firstRow > 0) {
        m.grid.SetRow(placed.firstRow);
        if (m.afterImport)
            m.afterImport();
    }

    QString text = count > 0 ? QStringLiteral("%1 件をインポートしました (%2 行目から)。")
                                   .arg(count)
                                   .arg(placed.firstRow)
                             : QStringLiteral("インポートできる行がありませんでした。");
    if (!imported.problems.isEmpty()) {
        QStringList lines;
        for (const ImportProblem &problem : imported.problems)
            lines << formatImportProblem(problem);
        text += QStringLiteral("\n次の行は読み込めませんでした。\n") + listed(lines);
    }
    message(text, count == 0);
}

void InteropCommands::mmDuplicatesClick() {
    m.grid.commitEditor(true);
    const CellStore &cells = m.grid.cells();
    const DuplicateReport report = findDuplicates(cells);
    if (!report.any()) {
        message(QStringLiteral("重複はありません。"));
        return;
    }

    QDialog dialog(m.owner);
    dialog.setObjectName(QStringLiteral("DuplicatesDlg"));
    dialog.setWindowTitle(QStringLiteral("重複を検索"));
    auto *list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lbDuplicates"));
    const auto addGroups = [&](const std::vector<DuplicateGroup> &groups, const QString &title) {
        for (const DuplicateGroup &group : groups) {
            auto *heading = new QListWidgetItem(title, list);
            heading->setFlags(Qt::ItemIsEnabled);
            for (int row : group.rows) {
                auto *item = new QListWidgetItem(QStringLiteral("  ") + rowText(cells, row), list);
                item->setData(Qt::UserRole, row);
            }
        }
    };
    addGroups(report.sameWord, QStringLiteral("読み・単語が同じ"));
    addGroups(report.sameEntry, QStringLiteral("読み・単語・品詞が同じ"));
    // Choosing an entry shows its row in the grid.
    QObject::connect(list, &QListWidget::currentItemChanged, &dialog,
                     [this](QListWidgetItem *item) {
                         const QVariant row = item ? item->data(Qt::UserRole) : QVariant();
                         if (row.isValid())
                             m.grid.SetRow(row.toInt());
                     });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(420, 300);
    m.dialogs.execModal(dialog);
}

} // namespace kelvari
