#include "interop/duplicates.h"

#include "document/wordlist.h"
#include "platform/sjis.h"

#include <QHash>
#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace kelvari {
namespace {

struct Key {
    std::string_view reading, word;
    bool operator==(const Key &) const = default;
};

size_t hashOf(const Key &k) noexcept {
    const std::hash<std::string_view> h;
    size_t seed = h(k.reading);
    seed ^= h(k.word) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    return seed;
}

Key keyOf(const CellStore &cells, int row) {
    return {cells.cellView(WordColumn::Reading, row), cells.cellView(WordColumn::Word, row)};
}

// Groups rows by key; only groups of two or more are kept, in order of their first row.
std::vector<DuplicateGroup> group(const CellStore &cells) {
    const int count = cells.rowCount();
    // An open-addressing table of first rows. Each slot keeps the high bits of
    // its key's hash too, so most probes compare one number and never touch
    // the cells.
    struct Slot {
        quint32 tag = 0;
        int row = 0; // 0: empty
    };
    size_t capacity = 16;
    while (capacity < size_t(count) * 2)
        capacity <<= 1;
    const size_t mask = capacity - 1;
    std::vector<Slot> table(capacity);
    std::unordered_map<int, size_t> groupOfFirstRow; // only rows that have duplicates
    std::vector<DuplicateGroup> groups;
    for (int row = 1; row < count; ++row) {
        if (isBlankWordRow(cells, row))
            continue;
        const Key key = keyOf(cells, row);
        const size_t hash = hashOf(key);
        const auto tag = quint32(quint64(hash) >> 32);
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot &slot = table[i];
            if (slot.row == 0) {
                slot = {tag, row};
                break;
            }
            if (slot.tag != tag || !(keyOf(cells, slot.row) == key))
                continue;
            const auto [it, opened] = groupOfFirstRow.try_emplace(slot.row, groups.size());
            if (opened)
                groups.push_back({{slot.row}});
            groups[it->second].rows.push_back(row);
            break;
        }
    }
    // Groups were opened at their second row; order them by their first.
    std::sort(groups.begin(), groups.end(), [](const DuplicateGroup &a, const DuplicateGroup &b) {
        return a.rows.front() < b.rows.front();
    });
    return groups;
}

QByteArray cellText(const CellStore &cells, int col, int row) {
    const std::string_view v = cells.cellView(col, row);
    return QByteArray(v.data(), qsizetype(v.size()));
}

} // namespace

DuplicateReport findDuplicates(const CellStore &cells) {
    DuplicateReport report;
    report.sameWord = group(cells);
    // Rows with the same part of speech too can only be among those: split each
    // group by its parts of speech.
    for (const DuplicateGroup &g : report.sameWord) {
        std::vector<bool> taken(g.rows.size(), false);
        for (size_t i = 0; i < g.rows.size(); ++i) {
            if (taken[i])
                continue;
            const std::string_view pos = cells.cellView(WordColumn::PartOfSpeech, g.rows[i]);
            DuplicateGroup same{{g.rows[i]}};
            for (size_t k = i + 1; k < g.rows.size(); ++k) {
                if (!taken[k] && cells.cellView(WordColumn::PartOfSpeech, g.rows[k]) == pos) {
                    taken[k] = true;
                    same.rows.push_back(g.rows[k]);
                }
            }
            if (same.rows.size() > 1)
                report.sameEntry.push_back(std::move(same));
        }
    }
    std::sort(report.sameEntry.begin(), report.sameEntry.end(),
              [](const DuplicateGroup &a, const DuplicateGroup &b) {
                  return a.rows.front() < b.rows.front();
              });
    return report;
}

QList<QByteArray> duplicateLines(const CellStore &cells, const DuplicateReport &report) {
    QList<QByteArray> lines;
    const auto addLines = [&](const std::vector<DuplicateGroup> &groups, bool withPos) {
        const QByteArray kind = withPos ? sj(u"読み・単語・品詞") : sj(u"読み・単語");
        for (const DuplicateGroup &g : groups) {
            QByteArray line = kind;
            line += '\t';
            for (size_t i = 0; i < g.rows.size(); ++i) {
                if (i > 0)
                    line += ',';
                line += QByteArray::number(g.rows[i]);
            }
            const int row = g.rows.front();
            line += '\t' + cellText(cells, WordColumn::Reading, row) + '\t' +
                    cellText(cells, WordColumn::Word, row);
            if (withPos)
                line += '\t' + cellText(cells, WordColumn::PartOfSpeech, row);
            lines.append(line);
        }
    };
    addLines(report.sameWord, false);
    addLines(report.sameEntry, true);
    return lines;
}

} // namespace kelvari
