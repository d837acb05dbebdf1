#pragma once
// TmStrList: a list of CP932 strings, each with an attached 32-bit value, that
// sorts by a key cut out of each string (by bytes: KeyPos from 1, KeyLen bytes)
// and compared as case-insensitive text, case-sensitive bytes, a number or a
// date and time read through DateTimeFormat. The grid keeps one as its
// SortIndex to work out and undo the order of its rows and columns.
//
//   TmStrList list;
//   list.setKeyType(soNumeric); list.add(...); list.sort();
//
// Errors (all kelvari::AppError): index out of range, writing by index while
// sorted, a duplicate under dupError, and E_Format_Invalid for a bad
// DateTimeFormat or a date key without its AM/PM marker.
//
// The key settings are a SortSettings value: a list made on its own owns one,
// a list made on a grid's settings refers to those and never copies them.
//
// Items live in one byte arena (offset, length, value per item) rather than one
// allocation per string: a grid sort puts a million keys in here.

#include "grid/sortsettings.h"
#include "grid/textcompare.h"
#include "platform/errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelvari {

enum DuplicateRule : unsigned char { dupIgnore, dupAccept, dupError };

// The list errors, shared with the grid.
namespace listerror {
QString indexOutOfRange();
QString notAllowedWhileSorted();
QString duplicatesNotAllowed();
} // namespace listerror

// The order of count texts held elsewhere (text(i) is the i-th) under these
// settings, without copying the texts: result[k] is the index of the text that
// goes to position k. Texts before firstSortable keep their places; with
// tieBreak equal keys keep their order.
std::vector<int> sortOrder(const SortSettings &settings, int firstSortable, int count,
                           const std::function<QByteArrayView(int)> &text, bool tieBreak);

class TmStrList {
public:
    TmStrList(); // with settings of its own
    // Sorts by `settings`, which must outlive the list; the list's setters
    // change them.
    explicit TmStrList(SortSettings &settings);
    TmStrList(const TmStrList &) = delete;
    TmStrList &operator=(const TmStrList &) = delete;

    // --- list operations ---
    int count() const { return static_cast<int>(m_items.size()); }
    // Adds at the end, or while sorted at its place by the duplicate rule;
    // returns the index.
    int add(QByteArrayView text, qint32 value = 0);
    void insert(int index, QByteArrayView text, qint32 value = 0);
    void remove(int index);
    void exchange(int index1, int index2);
    QByteArray string(int index) const;
    QByteArrayView view(int index) const; // valid until the next change
    void setString(int index, QByteArrayView text);
    qint32 value(int index) const;
    void setValue(int index, qint32 value);
    void clear();
    // Index of the first item whose key matches text (containment with the
    // substring flag, for the text key types), -1 if none.
    int indexOf(QByteArrayView text) const;
    // The halving search of a sorted list; index is where text is or belongs.
    bool find(QByteArrayView text, int &index) const;

    bool sorted() const { return m_sorted; }
    void setSorted(bool sorted);
    DuplicateRule duplicates() const { return m_duplicates; }
    void setDuplicates(DuplicateRule rule) { m_duplicates = rule; }
    // The list's growth steps: 4 while the capacity is 4 or less, 8 up to 8,
    // 16 above. Storage itself grows geometrically underneath.
    int capacity() const { return m_capacity; }
    void setCapacity(int capacity);

    std::function<void()> onChanging;
    std::function<void()> onChange;

    // --- key settings ---
    const SortSettings &settings() const { return *m_settings; }
    TMSortType keyType() const { return m_settings->keyType; }
    void setKeyType(TMSortType type);
    int keyPos() const { return std::max(m_settings->keyPos, 1); }
    void setKeyPos(int pos); // below 1 is stored as 1
    int keyLen() const { return std::max(m_settings->keyLen, 1); }
    void setKeyLen(int len); // below 1 is stored as 1
    bool descending() const { return m_settings->descending; }
    void setDescending(bool descending) { m_settings->descending = descending; }
    int firstSortable() const { return m_firstSortable; }
    void setFirstSortable(int index) { m_firstSortable = index; }
    bool substring() const { return m_substring; }
    void setSubstring(bool substring) { m_substring = substring; }

    const QByteArray &DateTimeFormat() const { return m_settings->dateTimeFormat(); }
    // Parses a different text at once (E_Format_Invalid on a bad letter; the
    // text is kept and the components before the bad letter stay in force).
    void setDateTimeFormat(QByteArrayView format) { m_settings->setDateTimeFormat(format); }
    bool ShortYearExpand() const { return m_settings->shortYearExpand; }
    void setShortYearExpand(bool expand) { m_settings->shortYearExpand = expand; }
    int ShortYearBorder() const { return m_settings->shortYearBorder; }
    void setShortYearBorder(int border) { m_settings->shortYearBorder = border; }

    // --- keys and sorting ---
    QByteArrayView keyOf(QByteArrayView text) const { return m_settings->keyOf(text); }
    QByteArray dateTimeKey(QByteArrayView value) const { return m_settings->dateTimeKey(value); }
    // Compares two keys by the key type.
    int compareKeys(QByteArrayView a, QByteArrayView b) const;

    // Sorts the items from firstSortable() on (numbers that read as 0 are then
    // ordered among themselves as text).
    void sort();
    // Sort, then put every run of equal keys in ascending order of attached
    // value: with values set to the former positions, equal keys keep their
    // order in either direction.
    void sortWithTieBreak();

    // Replaces the items by (decimal text of v, v) for each v, in order.
    void assignValues(const std::vector<qint32> &values);

private:
    struct Item {
        std::size_t offset;
        quint32 length;
        qint32 value;
    };

    void checkIndex(int index) const;
    std::size_t store(QByteArrayView text);
    void grow();
    void changing();
    void changed();
    void compactIfWasteful();
    void sortItems(bool tieBreak);
    void reorder(int first, const std::vector<int> &order);
    int compareToText(int index, QByteArrayView text) const;

    std::unique_ptr<SortSettings> m_ownSettings; // null when they are someone else's
    SortSettings *m_settings;
    std::vector<Item> m_items;
    std::string m_arena;
    std::size_t m_waste = 0;
    int m_capacity = 0;
    bool m_sorted = false;
    DuplicateRule m_duplicates = dupIgnore;
    bool m_substring = false;
    int m_firstSortable = 0;
};

} // namespace kelvari
