#include "grid/sortsettings.h"

#include "grid/textcompare.h"
#include "platform/sjis.h"

#include <QString>
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kelvari {

QByteArrayView cutKey(QByteArrayView text, int keyPos, int keyLen) {
    const qint64 start = qint64(std::max(keyPos, 1)) - 1;
    if (start >= text.size())
        return {};
    const qint64 len = std::min<qint64>(std::max(keyLen, 1), text.size() - start);
    return text.sliced(start, len);
}

namespace {

constexpr double kReal48Max = 1.7014118346046e38;

// Rounds to the 40-bit mantissa of a 6-byte real and to its exponent range.
double toReal48(double x) {
    if (x == 0 || std::isnan(x))
        return 0;
    if (std::isinf(x) || std::fabs(x) > kReal48Max)
        return x > 0 ? std::numeric_limits<double>::infinity()
                     : -std::numeric_limits<double>::infinity();
    if (std::fabs(x) < std::ldexp(1.0, -128))
        return 0;
    int exponent = 0;
    const double mantissa = std::frexp(x, &exponent);
    return std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

QByteArray rightAligned(qint64 value, int width) {
    QByteArray digits = QByteArray::number(value);
    if (digits.size() < width)
        digits.prepend(QByteArray(width - digits.size(), ' '));
    return digits;
}

} // namespace

double readNumber(QByteArrayView text) {
    const char *s = text.data();
    const qsizetype n = text.size();
    qsizetype p = 0;
    while (p < n && s[p] == ' ')
        ++p;
    bool negative = false;
    if (p < n && (s[p] == '+' || s[p] == '-'))
        negative = s[p++] == '-';
    const qsizetype start = p;
    qsizetype digits = 0;
    while (p < n && isDigit(s[p]))
        ++p, ++digits;
    if (p < n && s[p] == '.') {
        ++p;
        while (p < n && isDigit(s[p]))
            ++p, ++digits;
    }
    if (digits == 0)
        return 0;
    if (p < n && (s[p] == 'e' || s[p] == 'E')) {
        qsizetype q = p + 1;
        if (q < n && (s[q] == '+' || s[q] == '-'))
            ++q;
        if (q < n && isDigit(s[q])) {
            while (q < n && isDigit(s[q]))
                ++q;
            p = q;
        }
    }
    // from_chars wants no '+' in the exponent and no bare trailing '.'
    std::string number(s + start, static_cast<std::size_t>(p - start));
    if (auto e = number.find_first_of("eE"); e != std::string::npos && number[e + 1] == '+')
        number.erase(e + 1, 1);
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string::npos && number[e + 1] == '-';
        value = tiny ? 0 : std::numeric_limits<double>::infinity();
    }
    Q_UNUSED(end);
    return toReal48(negative ? -value : value);
}

SortSettings::SortSettings() : m_format("yyyy/MM/dd H:mm:ss") {
    parseFormat();
}

void SortSettings::setDateTimeFormat(QByteArrayView format) {
    if (format == QByteArrayView(m_format))
        return;
    m_format = format.toByteArray();
    parseFormat();
}

void SortSettings::parseFormat() {
    const QByteArray f = upperAscii(m_format) + ' ';
    std::fill(std::begin(m_dateLetters), std::end(m_dateLetters), '\0');
    std::fill(std::begin(m_dateWeights), std::end(m_dateWeights), 0);
    m_time.clear();
    m_hasDate = m_hasTime = m_hasAmPm = false;

    auto fail = [&](qsizetype pos, const char *part) {
        QByteArray letter;
        if (pos < f.size())
            letter = f.mid(pos, sjis::isLeadByte(f[pos]) ? 2 : 1);
        throw E_Format_Invalid(QStringLiteral("\"") + sjis::decode(letter) +
                               QStringLiteral("\" in ") + sjis::decode(f) + QStringLiteral(" ") +
                               QLatin1String(part) + QStringLiteral(" is invalid"));
    };
    auto skipRun = [&](qsizetype pos) {
        const char letter = f[pos];
        while (pos < f.size() && f[pos] == letter)
            ++pos;
        return pos;
    };

    qsizetype pos = 0;
    if (f[0] != 'H') {
        for (int c = 0; c < 3; ++c) {
            const char letter = pos < f.size() ? f[pos] : '\0';
            qint32 weight = 0;
            if (letter == 'D')
                weight = 1;
            else if (letter == 'M')
                weight = 35;
            else if (letter == 'Y')
                weight = 500;
            else
                fail(pos, "(Date format part)");
            m_dateLetters[c] = letter;
            m_dateWeights[c] = weight;
            pos = skipRun(pos) + 1; // the separator, whatever it is
        }
        m_hasDate = true;
    }
    // Ten components in all: three date slots, then up to seven time ones.
    constexpr int kMaxTime = 7;
    bool first = true;
    for (;;) {
        if (!first)
            ++pos;
        first = false;
        if (pos >= f.size())
            break;
        if (int(m_time.size()) == kMaxTime)
            fail(pos, "(Time format part)");
        if (f.sliced(pos).startsWith("AMPM")) {
            m_time.push_back({'A', 0});
            m_hasAmPm = true;
            m_hasTime = true;
            pos += 4;
            continue;
        }
        const char letter = f[pos];
        qint32 weight = 0;
        switch (letter) {
        case 'H':
            weight = 360000;
            break;
        case 'M':
        case 'N':
            weight = 6000;
            break;
        case 'S':
            weight = 100;
            break;
        case 'T':
            weight = 1;
            break;
        default:
            fail(pos, "(Time format part)");
        }
        m_time.push_back({letter, weight});
        m_hasTime = true;
        pos = skipRun(pos);
    }
}

namespace {
// Reads an integer from the front of v and removes it with the character that
// ends it. No number there reads as 0 and still removes that character.
qint64 takeInteger(QByteArrayView &v) {
    qsizetype p = 0;
    const qsizetype n = v.size();
    while (p < n && v[p] == ' ')
        ++p;
    bool negative = false;
    if (p < n && (v[p] == '+' || v[p] == '-'))
        negative = v[p++] == '-';
    qint64 value = 0;
    constexpr qint64 kLimit = std::numeric_limits<qint32>::max();
    if (p < n && v[p] == '$') {
        ++p;
        while (p < n && std::isxdigit(static_cast<unsigned char>(v[p]))) {
            const char c = v[p++];
            const int digit = isDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
            value = std::min(kLimit, value * 16 + digit);
        }
    } else {
        while (p < n && isDigit(v[p]))
            value = std::min(kLimit, value * 10 + (v[p++] - '0'));
    }
    if (p < n) // the separator; a double-byte one goes whole
        p += (sjis::isLeadByte(v[p]) && p + 1 < n) ? 2 : 1;
    v = v.sliced(p);
    return negative ? -value : value;
}
} // namespace

QByteArray SortSettings::dateTimeKey(QByteArrayView value) const {
    QByteArrayView v = value;
    QByteArray key;
    if (m_hasDate) {
        qint64 sum = 0;
        for (int c = 0; c < 3; ++c) {
            qint64 n = takeInteger(v);
            if (m_dateLetters[c] == 'Y' && shortYearExpand) {
                if (n < shortYearBorder)
                    n += 2000;
                else if (n < 100)
                    n += 1900;
            }
            sum += n * m_dateWeights[c];
        }
        key = rightAligned(sum, 7);
    }
    if (m_hasTime && !v.isEmpty()) {
        qint64 sum = 0;
        qint64 hour = 0;
        bool afternoon = false;
        for (const TimeComponent &component : m_time) {
            if (!m_hasAmPm) {
                sum += takeInteger(v) * component.weight;
                continue;
            }
            const QByteArray two = upperAscii(v.first(std::min<qsizetype>(2, v.size())));
            const bool marker = two == "AM" || two == "PM";
            if (component.letter == 'A') {
                if (!marker) {
                    const QString text = sjis::decode(value).left(100);
                    throw E_Format_Invalid(
                        QStringLiteral("\"") + text + QStringLiteral("\" AM or PM expected.") +
                        QStringLiteral(" DateTimeFormat=") + sjis::decode(m_format));
                }
                afternoon = afternoon || two == "PM";
                v = v.sliced(2);
            } else if (!marker) {
                const qint64 n = takeInteger(v);
                sum += n * component.weight;
                if (component.letter == 'H')
                    hour = n;
            }
        }
        if (m_hasAmPm) {
            if (!afternoon && hour == 12)
                sum -= 4320000;
            else if (afternoon && hour < 12)
                sum += 4320000;
        }
        key += rightAligned(sum, 7).left(7);
    }
    return key;
}

} // namespace kelvari
