#include "check/checkchars.h"

#include "platform/sjis.h"

#include <array>

namespace kelvari {
namespace {

constexpr unsigned char kHalfFirst = 0xA1;
constexpr unsigned char kHalfLast = 0xDD;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

struct Tables {
    // Double-byte characters that fold to one ASCII byte; only lead bytes 0x81 and
    // 0x82 have any. 0 means "copy unchanged".
    std::array<std::array<char, 256>, 2> fold{};
    // Half-width katakana 0xA1-0xDD and their full-width forms.
    std::array<std::array<char, 2>, kHalfLast - kHalfFirst + 1> wide{};
    std::array<std::array<char, 2>, kHalfLast - kHalfFirst + 1> voiced{};
    std::array<std::array<char, 2>, kHalfLast - kHalfFirst + 1> semiVoiced{};
    std::array<bool, kHalfLast - kHalfFirst + 1> hasVoiced{};
    std::array<bool, kHalfLast - kHalfFirst + 1> hasSemiVoiced{};

    Tables() {
        struct Fold {
            int code;
            char ascii;
        };
        static constexpr Fold folds[] = {
            {0x8140, ' '},  // ideographic space
            {0x8141, ','},  // 、
            {0x8143, ','},  // ，
            {0x8142, '.'},  // 。
            {0x8144, '.'},  // ．
            {0x8146, ':'},  // ：
            {0x8147, ';'},  // ；
            {0x8148, '?'},  // ？
            {0x8149, '!'},  // ！
            {0x814F, '^'},  // ＾
            {0x815E, '/'},  // ／
            {0x8160, '~'},  // ～
            {0x8162, '|'},  // ｜
            {0x8165, '\''}, // ‘
            {0x8166, '\''}, // ’
            {0x818C, '\''}, // ′
            {0x8167, '"'},  // “
            {0x8168, '"'},  // ”
            {0x818D, '"'},  // ″
            {0x8169, '('},  // （
            {0x816A, ')'},  // ）
            {0x816D, '['},  // ［
            {0x816E, ']'},  // ］
            {0x816F, '{'},  // ｛
            {0x8170, '}'},  // ｝
            {0x817B, '+'},  // ＋
            {0x817C, '-'},  // －
            {0x8181, '='},  // ＝
            {0x81AC, '='},  // 〓
            {0x8183, '<'},  // ＜
            {0x8184, '>'},  // ＞
            {0x818F, '\\'}, // ￥
            {0x8190, '$'},  // ＄
            {0x8193, '%'},  // ％
            {0x8194, '#'},  // ＃
            {0x8195, '&'},  // ＆
            {0x8196, '*'},  // ＊
            {0x8197, '@'},  // ＠
        };
        for (const Fold &f : folds)
            fold[size_t((f.code >> 8) - 0x81)][size_t(f.code & 0xFF)] = f.ascii;
        for (int i = 0; i < 10; ++i) // ０-９
            fold[1][size_t(0x4F + i)] = char('0' + i);
        for (int i = 0; i < 26; ++i) { // Ａ-Ｚ and ａ-ｚ
            fold[1][size_t(0x60 + i)] = char('A' + i);
            fold[1][size_t(0x81 + i)] = char('A' + i);
        }

        const QByteArray full = sj(u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソ"
                                   u"タチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン");
        for (size_t i = 0; i < wide.size(); ++i)
            wide[i] = {full[qsizetype(2 * i)], full[qsizetype(2 * i + 1)]};
        const auto setVoiced = [this](unsigned char from, const QByteArray &forms) {
            for (qsizetype k = 0; k < forms.size() / 2; ++k) {
                const size_t i = size_t(from - kHalfFirst + k);
                voiced[i] = {forms[2 * k], forms[2 * k + 1]};
                hasVoiced[i] = true;
            }
        };
        setVoiced(0xB3, sj(u"ヴ"));                             // ｳ
        setVoiced(0xB6, sj(u"ガギグゲゴザジズゼゾダヂヅデド")); // ｶ-ﾄ
        setVoiced(0xCA, sj(u"バビブベボ"));                     // ﾊ-ﾎ
        const QByteArray semi = sj(u"パピプペポ");
        for (qsizetype k = 0; k < 5; ++k) {
            const size_t i = size_t(0xCA - kHalfFirst + k);
            semiVoiced[i] = {semi[2 * k], semi[2 * k + 1]};
            hasSemiVoiced[i] = true;
        }
    }
};

const Tables &tables() {
    static const Tables t;
    return t;
}

} // namespace

void normalizeForCheckInto(QByteArrayView text, std::string &out) {
    const Tables &t = tables();
    out.clear();
    const qsizetype n = text.size();
    if (n == 0) {
        out.push_back('\0');
        return;
    }
    for (qsizetype i = 0; i < n;) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (sjis::isLeadByte(b)) {
            if (i + 1 >= n) {
                out.push_back(char(b));
                break;
            }
            const auto trail = static_cast<unsigned char>(text[i + 1]);
            const char folded = (b == 0x81 || b == 0x82) ? t.fold[b - 0x81][trail] : '\0';
            if (folded) {
                out.push_back(folded);
            } else {
                out.push_back(char(b));
                out.push_back(char(trail));
            }
            i += 2;
        } else if (b >= 'a' && b <= 'z') {
            out.push_back(char(b - 'a' + 'A'));
            ++i;
        } else if (b >= kHalfFirst && b <= kHalfLast) {
            const size_t k = b - kHalfFirst;
            const auto next = i + 1 < n ? static_cast<unsigned char>(text[i + 1]) : 0;
            const std::array<char, 2> *form = &t.wide[k];
            qsizetype used = 1;
            if (next == kVoicedMark) {
                used = 2; // the mark joins the letter or is dropped
                if (t.hasVoiced[k])
                    form = &t.voiced[k];
            } else if (next == kSemiVoicedMark) {
                used = 2;
                if (t.hasSemiVoiced[k])
                    form = &t.semiVoiced[k];
            }
            out.push_back((*form)[0]);
            out.push_back((*form)[1]);
            i += used;
        } else {
            out.push_back(char(b));
            ++i;
        }
    }
}

QByteArray NormalizeForCheck(QByteArrayView text) {
    std::string out;
    out.reserve(size_t(text.size()) * 2 + 1);
    normalizeForCheckInto(text, out);
    return QByteArray(out.data(), qsizetype(out.size()));
}

qsizetype CountChars(QByteArrayView text) {
    qsizetype count = 0;
    for (qsizetype pos = 0; pos < text.size(); ++count)
        pos += sjis::isLeadByte(text[pos]) ? 2 : 1;
    return count;
}

} // namespace kelvari
