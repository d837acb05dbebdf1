#include "grid/gridsearch.h"

#include "grid/gridsort.h"
#include "grid/textcompare.h"
#include "platform/errors.h"
#include "platform/sjis.h"

#include <QDate>
#include <algorithm>
#include <optional>

namespace kelvari {

QString notADateTimeMessage(QByteArrayView text) {
    return QStringLiteral("'%1' は日付または時刻ではありません").arg(sjis::decode(text));
}

namespace {

struct Reader {
    QByteArrayView s;
    qsizetype p = 0;

    void skipBlanks() {
        while (p < s.size() && s[p] == ' ')
            ++p;
    }
    bool atEnd() const { return p >= s.size(); }
    bool digitHere() const { return p < s.size() && s[p] >= '0' && s[p] <= '9'; }
    std::optional<int> number(int maxDigits = 9) {
        if (!digitHere())
            return std::nullopt;
        int value = 0, digits = 0;
        while (digitHere()) {
            if (++digits > maxDigits)
                return std::nullopt;
            value = value * 10 + (s[p++] - '0');
        }
        return value;
    }
    bool take(char c) {
        if (p < s.size() && s[p] == c) {
            ++p;
            return true;
        }
        return false;
    }
    // Digits followed by the separator, without consuming anything on failure.
    bool peekNumberThen(char separator) const {
        qsizetype q = p;
        while (q < s.size() && s[q] >= '0' && s[q] <= '9')
            ++q;
        return q > p && q < s.size() && s[q] == separator;
    }
};

std::optional<qint64> readDate(Reader &r) {
    std::vector<int> parts;
    while (parts.size() < 3) {
        const auto n = r.number();
        if (!n)
            return std::nullopt;
        parts.push_back(*n);
        if (!r.take('/'))
            break;
    }
    int year, month, day;
    bool yearGiven = true;
    if (parts.size() == 3) {
        year = parts[0];
        month = parts[1];
        day = parts[2];
    } else if (parts.size() == 2) {
        yearGiven = false;
        year = QDate::currentDate().year();
        month = parts[0];
        day = parts[1];
    } else {
        return std::nullopt;
    }
    if (yearGiven && year < 100) {
        const int now = QDate::currentDate().year();
        year += (now - 50) / 100 * 100;
        if (year < now - 50)
            year += 100;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date.toJulianDay() * qint64(86400000);
}

std::optional<qint64> readTime(Reader &r) {
    const auto hour = r.number(2);
    if (!hour || !r.take(':'))
        return std::nullopt;
    const auto minute = r.number(2);
    if (!minute)
        return std::nullopt;
    int second = 0, ms = 0;
    if (r.take(':')) {
        const auto s = r.number(2);
        if (!s)
            return std::nullopt;
        second = *s;
        if (r.take('.')) {
            const auto m = r.number(3);
            if (!m)
                return std::nullopt;
            ms = *m;
        }
    }
    int h = *hour;
    r.skipBlanks();
    if (!r.atEnd()) {
        const QByteArray two =
            upperAscii(r.s.sliced(r.p, std::min<qsizetype>(2, r.s.size() - r.p)));
        if (two == "AM" || two == "PM") {
            if (h > 12)
                return std::nullopt;
            if (two == "AM" && h == 12)
                h = 0;
            else if (two == "PM" && h < 12)
                h += 12;
            r.p += 2;
        }
    }
    if (h > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    return ((qint64(h) * 60 + *minute) * 60 + second) * 1000 + ms;
}

} // namespace

qint64 readSystemDateTime(QByteArrayView text) {
    Reader r{text};
    r.skipBlanks();
    qint64 value = 0;
    bool any = false;
    if (!r.peekNumberThen(':')) {
        const auto date = readDate(r);
        if (!date)
            throw AppError(notADateTimeMessage(text));
        value = *date;
        any = true;
        r.skipBlanks();
    }
    if (!r.atEnd()) {
        const auto time = readTime(r);
        if (!time)
            throw AppError(notADateTimeMessage(text));
        value += *time;
        any = true;
        r.skipBlanks();
    }
    if (!any || !r.atEnd())
        throw AppError(notADateTimeMessage(text));
    return value;
}

// ---------------------------------------------------------------------------
// GridSorter: search

namespace {
// How many rows ahead a search asks for (see FindNext).
constexpr int kPrefetchRows = 8;

QByteArrayView viewOf(std::string_view v) {
    return QByteArrayView(v.data(), qsizetype(v.size()));
}
} // namespace

void GridSorter::startSearch(const CellStore &cells, QByteArrayView key, const SearchArea &area) {
    Q_UNUSED(cells);
    m_searchKey = key.toByteArray();
    m_area = area;
    m_area.cellsLeft = true;
    m_searchExists = true;
    if (m_reverseSearch) {
        m_area.currentRow = m_area.lastRow;
        m_area.currentCol = m_area.lastCol;
    } else {
        m_area.currentRow = m_area.firstRow;
        m_area.currentCol = m_area.firstCol;
    }
    m_area.cellsLeft = !areaEmpty();
}

bool GridSorter::areaEmpty() const {
    // A rectangle without cells (all rows are header rows, say) has nothing to visit.
    return m_area.firstRow > m_area.lastRow || m_area.firstCol > m_area.lastCol;
}

bool GridSorter::FindFirst(const CellStore &cells, GridShape shape, QByteArrayView key,
                           bool rowWise, int &col, int &row) {
    SearchArea a;
    a.lastRow = cells.rowCount() - 1;
    a.lastCol = cells.colCount() - 1;
    a.rowWise = rowWise;
    switch (m_useFixed) {
    case hfNot:
        a.firstRow = shape.fixedRows;
        a.firstCol = shape.fixedCols;
        break;
    case hfSmart:
        a.firstRow = rowWise ? shape.fixedRows : 0;
        a.firstCol = rowWise ? 0 : shape.fixedCols;
        break;
    case hfYes:
        break;
    }
    startSearch(cells, key, a);
    return FindNext(cells, col, row);
}

bool GridSorter::FindFirstInRow(const CellStore &cells, GridShape shape, QByteArrayView key,
                                int ARow, int &col, int &row) {
    SearchArea a;
    a.rowWise = true;
    a.firstRow = a.lastRow = ARow;
    a.firstCol = m_useFixed == hfNot ? shape.fixedCols : 0;
    a.lastCol = cells.colCount() - 1;
    startSearch(cells, key, a);
    return FindNext(cells, col, row);
}

bool GridSorter::FindFirstInCol(const CellStore &cells, GridShape shape, QByteArrayView key,
                                int ACol, int &col, int &row) {
    SearchArea a;
    a.rowWise = false;
    a.firstCol = a.lastCol = ACol;
    a.firstRow = m_useFixed == hfNot ? shape.fixedRows : 0;
    a.lastRow = cells.rowCount() - 1;
    startSearch(cells, key, a);
    return FindNext(cells, col, row);
}

bool GridSorter::step() {
    SearchArea &a = m_area;
    // "Along" is the direction inside a line, "across" moves to the next line.
    int &along = a.rowWise ? a.currentCol : a.currentRow;
    int &across = a.rowWise ? a.currentRow : a.currentCol;
    const int alongFirst = a.rowWise ? a.firstCol : a.firstRow;
    const int alongLast = a.rowWise ? a.lastCol : a.lastRow;
    const int acrossFirst = a.rowWise ? a.firstRow : a.firstCol;
    const int acrossLast = a.rowWise ? a.lastRow : a.lastCol;
    if (!m_reverseSearch) {
        if (++along > alongLast) {
            along = alongFirst;
            ++across;
        }
        return across <= acrossLast;
    }
    if (--along < alongFirst) {
        along = alongLast;
        --across;
    }
    return across >= acrossFirst;
}

bool GridSorter::FindNext(const CellStore &cells, int &col, int &row) {
    col = row = -1;
    if (!m_area.cellsLeft)
        return false;

    double number = 0;
    qint64 when = 0;
    QByteArray upperKey;
    std::optional<TextKeyMatcher> textKey;
    switch (m_settings.keyType) {
    case soString:
        if (m_searchSubstring) {
            m_searchKey = upperAscii(m_searchKey);
            upperKey = m_searchKey;
        } else {
            textKey.emplace(m_searchKey);
        }
        break;
    case soStringCaseSensitive:
        break;
    case soNumeric:
        number = readNumber(m_searchKey);
        break;
    case soDate:
        when = readSystemDateTime(m_searchKey);
        break;
    }

    // Rows live in separate allocations, so a long search waits on memory more
    // than it compares; ask for the rows a few steps ahead early.
    const int prefetchDistance = m_reverseSearch ? -kPrefetchRows : kPrefetchRows;
    for (;;) {
        cells.prefetchRow(m_area.currentRow + prefetchDistance);
        const QByteArrayView text = viewOf(cells.cellView(m_area.currentCol, m_area.currentRow));
        const QByteArrayView key = m_settings.keyOf(text);
        bool match = false;
        switch (m_settings.keyType) {
        case soString:
            if (m_searchSubstring)
                match = upperAscii(text).contains(upperKey);
            else
                match = textKey->matches(key);
            break;
        case soStringCaseSensitive:
            match = m_searchSubstring ? text.contains(m_searchKey) : key == m_searchKey;
            break;
        case soNumeric:
            match = readNumber(key) == number;
            break;
        case soDate:
            match = readSystemDateTime(key) == when; // a non-date cell stops here
            break;
        }
        if (match) {
            col = m_area.currentCol;
            row = m_area.currentRow;
            m_area.cellsLeft = step();
            return true;
        }
        if (!step()) {
            m_area.cellsLeft = false;
            return false;
        }
    }
}

void GridSorter::SetReverseSearch(const CellStore &cells, bool reverse) {
    if (reverse == m_reverseSearch)
        return;
    m_reverseSearch = reverse;
    if (m_area.cellsLeft) {
        // Steps back onto the last match and past it, so the next FindNext
        // continues from there in the new direction.
        int col = -1, row = -1;
        FindNext(cells, col, row);
    } else if (m_searchExists) {
        m_area.cellsLeft = !areaEmpty();
        if (reverse) {
            m_area.currentRow = m_area.lastRow;
            m_area.currentCol = m_area.lastCol;
        } else {
            m_area.currentRow = m_area.firstRow;
            m_area.currentCol = m_area.firstCol;
        }
    }
}

} // namespace kelvari
