#pragma once
// SortSettings: how sorts and searches read the key of a CP932 text — which
// bytes (KeyPos from 1, KeyLen bytes), compared as what (the key type), in
// which direction — and how a date and time key is read (DateTimeFormat and
// the short-year rule). A grid owns one value; its SortIndex and the orders its
// sorts work out refer to that value, so each setting lives in one place.
//
//   SortSettings settings;
//   settings.keyType = soDate;
//   settings.setDateTimeFormat("yy/MM/dd H:mm:ss"); // E_Format_Invalid if bad
//   TmStrList list(settings);                        // sorts by these settings

#include "platform/errors.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

namespace kelvari {

enum TMSortType : unsigned char { soString, soStringCaseSensitive, soNumeric, soDate };

// A DateTimeFormat that cannot be read, or a date key that lacks its AM/PM.
class E_Format_Invalid : public AppError {
public:
    using AppError::AppError;
};

// The byte range [keyPos - 1, keyPos - 1 + keyLen) of text, cut at its end;
// positions and lengths below 1 count as 1.
QByteArrayView cutKey(QByteArrayView text, int keyPos, int keyLen);

// The leading decimal number of text (0 when it does not start with one), held
// to the precision of a 6-byte real: a 40-bit mantissa, so numbers that agree
// to about 12 significant digits are equal.
double readNumber(QByteArrayView text);

class SortSettings {
public:
    SortSettings(); // the default DateTimeFormat, parsed

    TMSortType keyType = soString;
    // Kept as set; below 1 counts as 1.
    int keyPos = 1;
    int keyLen = 2147483647;
    bool descending = false;
    bool shortYearExpand = true;
    int shortYearBorder = 10; // two-digit years below it are 20xx

    QByteArrayView keyOf(QByteArrayView text) const { return cutKey(text, keyPos, keyLen); }

    const QByteArray &dateTimeFormat() const { return m_format; }
    // A different text is stored, then parsed: on a bad letter E_Format_Invalid,
    // with the text kept and the components read before the letter in force.
    void setDateTimeFormat(QByteArrayView format);
    // The date-time sort key of a value (date key then time key, 7 characters
    // each), compared byte-wise; E_Format_Invalid when the AM/PM is missing.
    QByteArray dateTimeKey(QByteArrayView value) const;

private:
    struct TimeComponent {
        char letter;
        qint32 weight;
    };

    void parseFormat();

    QByteArray m_format;
    char m_dateLetters[3] = {};
    qint32 m_dateWeights[3] = {};
    std::vector<TimeComponent> m_time;
    bool m_hasDate = false;
    bool m_hasTime = false;
    bool m_hasAmPm = false;
};

} // namespace kelvari
