#include "grid/textcollator.h"

#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

namespace kelvari {
namespace {

const UChar *utf16(QStringView text) {
    return reinterpret_cast<const UChar *>(text.utf16());
}

// Marks the first unit of every contraction of the collator; false when the
// set could not be read completely.
bool readContractionStarts(const UCollator *collator, std::vector<bool> &starts) {
    UErrorCode status = U_ZERO_ERROR;
    USet *contractions = uset_openEmpty();
    ucol_getContractionsAndExpansions(collator, contractions, nullptr, false, &status);
    starts.assign(0x10000, false);
    const int32_t items = U_SUCCESS(status) ? uset_getItemCount(contractions) : 0;
    std::vector<UChar> text(64); // grows for a longer contraction
    for (int32_t i = 0; i < items && U_SUCCESS(status); ++i) {
        UChar32 start = 0, end = 0;
        int32_t length =
            uset_getItem(contractions, i, &start, &end, text.data(), int32_t(text.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            text.resize(std::size_t(length) + 1);
            status = U_ZERO_ERROR;
            length = uset_getItem(contractions, i, &start, &end, text.data(), int32_t(text.size()),
                                  &status);
        }
        if (U_FAILURE(status))
            break;
        if (length > 0) {
            starts[text[0]] = true;
        } else {
            for (UChar32 c = start; c <= end && c < 0x10000; ++c) // single code points
                starts[std::size_t(c)] = true;
        }
    }
    uset_close(contractions);
    return U_SUCCESS(status);
}

} // namespace

TextCollator::TextCollator(const QByteArray &icuLocale) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator *collator = ucol_open(icuLocale.constData(), &status);
    if (U_FAILURE(status))
        return;
    ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    // An unread contraction could start with any character, so without the
    // full set the collator is not used at all.
    if (U_FAILURE(status) || !readContractionStarts(collator, m_contractionStarts)) {
        ucol_close(collator);
        return;
    }
    m_collator = collator;
}

TextCollator::~TextCollator() {
    if (m_collator)
        ucol_close(m_collator);
}

int TextCollator::compare(QStringView a, QStringView b) const {
    if (a.isEmpty() || b.isEmpty())
        return int(!a.isEmpty()) - int(!b.isEmpty());
    return ucol_strcoll(m_collator, utf16(a), int32_t(a.size()), utf16(b), int32_t(b.size()));
}

void TextCollator::appendSortKey(QStringView text, std::string &out) const {
    const std::size_t at = out.size();
    // Most keys fit in this; ICU reports the full length when one does not.
    std::size_t room = std::size_t(text.size()) * 4 + 16;
    for (;;) {
        out.resize(at + room);
        const int32_t length =
            ucol_getSortKey(m_collator, utf16(text), int32_t(text.size()),
                            reinterpret_cast<uint8_t *>(out.data() + at), int32_t(room));
        if (length <= 0) { // cannot happen for a valid collator; keep the key well formed
            out.resize(at);
            out.push_back('\0');
            return;
        }
        if (std::size_t(length) <= room) {
            out.resize(at + std::size_t(length));
            return;
        }
        room = std::size_t(length);
    }
}

quint16 TextCollator::firstPrimary(QStringView text) const {
    if (text.isEmpty())
        return 0;
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements *elements =
        ucol_openElements(m_collator, utf16(text), int32_t(text.size()), &status);
    quint16 weight = 0;
    while (U_SUCCESS(status)) {
        const int32_t element = ucol_next(elements, &status);
        if (element == UCOL_NULLORDER)
            break;
        weight = quint16(ucol_primaryOrder(element));
        if (weight != 0)
            break;
    }
    ucol_closeElements(elements);
    return U_SUCCESS(status) ? weight : 0;
}

quint16 TextCollator::firstElementPrimary(QChar c) const {
    const char16_t unit = c.unicode();
    UErrorCode status = U_ZERO_ERROR;
    UCollationElements *elements =
        ucol_openElements(m_collator, reinterpret_cast<const UChar *>(&unit), 1, &status);
    const int32_t element = U_SUCCESS(status) ? ucol_next(elements, &status) : UCOL_NULLORDER;
    ucol_closeElements(elements);
    if (U_FAILURE(status) || element == UCOL_NULLORDER)
        return 0;
    return quint16(ucol_primaryOrder(element));
}

} // namespace kelvari
