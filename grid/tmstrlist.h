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
// Items live in one byte arena (offset, length, value per item) rather than one
// allocation per string: a grid sort puts a million keys in here.

#include "grid/textcompare.h"
#include "platform/errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kelvari {

enum TMSortType : unsigned char { soString, soStringCaseSensitive, soNumeric, soDate };
enum DuplicateRule : unsigned char { dupIgnore, dupAccept, dupError };

// A DateTimeFormat that cannot be read, or a date key that lacks its AM/PM.
class E_Format_Invalid : public AppError {
public:
    using AppError::AppError;
};

// The list errors, shared with the grid.
namespace listerror {
QString indexOutOfRange();
QString notAllowedWhileSorted();
QString duplicatesNotAllowed();
} // namespace listerror

// The byte range [keyPos - 1, keyPos - 1 + keyLen) of text, cut at its end.
QByteArrayView cutKey(QByteArrayView text, int keyPos, int keyLen);

// The leading decimal number of text (0 when it does not start with one), held
// to the precision of a 6-byte real: a 40-bit mantissa, so numbers that agree
// to about 12 significant digits are equal.
double readNumber(QByteArrayView text);

class TmStrList {
public:
    TmStrList();

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
    TMSortType keyType() const { return m_keyType; }
    void setKeyType(TMSortType type);
    int keyPos() const { return m_keyPos; }
    void setKeyPos(int pos); // below 1 is stored as 1
    int keyLen() const { return m_keyLen; }
    void setKeyLen(int len); // below 1 is stored as 1
    int firstSortable() const { return m_firstSortable; }
    void setFirstSortable(int index) { m_firstSortable = index; }
    bool descending() const { return m_descending; }
    void setDescending(bool descending) { m_descending = descending; }
    bool substring() const { return m_substring; }
    void setSubstring(bool substring) { m_substring = substring; }

    const QByteArray &DateTimeFormat() const { return m_format; }
    // Parses a different text at once (E_Format_Invalid on a bad letter; the
    // text is kept and the components before the bad letter stay in force).
    void setDateTimeFormat(QByteArrayView format);
    bool ShortYearExpand() const { return m_shortYearExpand; }
    void setShortYearExpand(bool expand) { m_shortYearExpand = expand; }
    int ShortYearBorder() const { return m_shortYearBorder; }
    void setShortYearBorder(int border) { m_shortYearBorder = border; }

    // --- keys and sorting ---
    QByteArrayView keyOf(QByteArrayView text) const { return cutKey(text, m_keyPos, m_keyLen); }
    // The date-time sort key of a value (date key then time key, 7 characters
    // each); compared byte-wise.
    QByteArray dateTimeKey(QByteArrayView value) const;
    // Compares two keys by the key type.
    int compareKeys(QByteArrayView a, QByteArrayView b) const;

    // Sorts the items from firstSortable() on (numbers that read as 0 are then
    // ordered among themselves as text).
    void sort();
    // Sort, then put every run of equal keys in ascending order of attached
    // value: with values set to the former positions, equal keys keep their
    // order in either direction.
    void sortWithTieBreak();

    // The order that sort() or sortWithTieBreak() would give count texts held
    // elsewhere (text(i) is the i-th), without copying them into the list:
    // result[k] is the index of the text that goes to position k.
    std::vector<int> orderOfTexts(int count, const std::function<QByteArrayView(int)> &text,
                                  bool tieBreak) const;

    // Takes over other's key, direction, date-time and duplicate settings (its
    // parsed format as it stands), but not its items or events.
    void copySettings(const TmStrList &other);

    // Replaces the items by (decimal text of v, v) for each v, in order.
    void assignValues(const std::vector<qint32> &values);

private:
    struct Item {
        std::size_t offset;
        quint32 length;
        qint32 value;
    };
    struct TimeComponent {
        char letter;
        qint32 weight;
    };

    void checkIndex(int index) const;
    std::size_t store(QByteArrayView text);
    void grow();
    void changing();
    void changed();
    void compactIfWasteful();
    void parseFormat();
    void sortItems(bool tieBreak);
    void reorder(int first, const std::vector<int> &order);
    int compareToText(int index, QByteArrayView text) const;

    std::vector<Item> m_items;
    std::string m_arena;
    std::size_t m_waste = 0;
    int m_capacity = 0;
    bool m_sorted = false;
    DuplicateRule m_duplicates = dupIgnore;
    bool m_substring = false;
    bool m_descending = false;
    TMSortType m_keyType = soString;
    int m_keyLen = 2147483647;
    int m_keyPos = 1;
    int m_firstSortable = 0;

    QByteArray m_format;
    char m_dateLetters[3] = {};
    qint32 m_dateWeights[3] = {};
    std::vector<TimeComponent> m_time;
    bool m_hasDate = false;
    bool m_hasTime = false;
    bool m_hasAmPm = false;
    bool m_shortYearExpand = true;
    int m_shortYearBorder = 10;
};

} // namespace kelvari
