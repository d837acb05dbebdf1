#include "interop/posmapping.h"

#include "check/partsofspeech.h"
#include "platform/sjis.h"

#include <QHash>

namespace kelvari {
namespace {

struct Row {
    const char16_t *name;
    const char16_t *mozc;
    const char16_t *msIme;
};

// In the order of the part-of-speech list.
constexpr Row kTable[] = {
    {u"名詞", u"名詞", u"名詞"},
    {u"固有人姓", u"姓", u"姓"},
    {u"固有人名", u"名", u"名"},
    {u"固有人他", u"人名", u"人名"},
    {u"固有地名", u"地名", u"地名その他"},
    {u"固有組織", u"組織", u"組織"},
    {u"固有商品", u"固有名詞", u"固有名詞"},
    {u"固有一般", u"固有名詞", u"固有名詞"},
    {u"名詞サ変", u"名詞サ変", u"さ変名詞"},
    {u"名詞ザ変", u"名詞サ変", u"さ変名詞"},
    {u"名詞形動", u"名詞形動", u"形動名詞"},
    {u"名サ形動", u"名詞形動", u"形動名詞"},
    {u"数詞", u"数", u"数詞"},
    {u"副詞", u"副詞", u"副詞"},
    {u"連体詞", u"連体詞", u"連体詞"},
    {u"接続詞", u"接続詞", u"接続詞"},
    {u"感動詞", u"感動詞", u"感動詞"},
    {u"独立語", u"独立語", u"独立語"},
    {u"接頭語", u"接頭語", u"接頭語"},
    {u"冠数詞", u"接頭語", u"接頭語"},
    {u"接尾語", u"接尾一般", u"接尾語"},
    {u"助数詞", u"助数詞", u"助数詞"},
    {u"カ行五段", u"動詞カ行五段", u"動詞カ行五段"},
    {u"ガ行五段", u"動詞ガ行五段", u"動詞ガ行五段"},
    {u"サ行五段", u"動詞サ行五段", u"動詞サ行五段"},
    {u"タ行五段", u"動詞タ行五段", u"動詞タ行五段"},
    {u"ナ行五段", u"動詞ナ行五段", u"動詞ナ行五段"},
    {u"バ行五段", u"動詞バ行五段", u"動詞バ行五段"},
    {u"マ行五段", u"動詞マ行五段", u"動詞マ行五段"},
    {u"ラ行五段", u"動詞ラ行五段", u"動詞ラ行五段"},
    {u"ワ行五段", u"動詞ワ行五段", u"動詞ワ行五段"},
    // The other has no classical conjugation; its modern form is the ワ行.
    {u"ハ行四段", u"動詞ハ行四段", u"動詞ワ行五段"},
    {u"一段動詞", u"動詞一段", u"動詞一段"},
    {u"カ変動詞", u"動詞カ変", u"動詞カ変"},
    {u"サ変動詞", u"動詞サ変", u"動詞サ変"},
    {u"ザ変動詞", u"動詞ザ変", u"動詞ザ変"},
    {u"形容詞", u"形容詞", u"形容詞"},
    {u"形容詞ウ", u"形容詞", u"形容詞"},
    {u"形容動詞", u"名詞形動", u"形容動詞"},
    {u"形動タリ", u"名詞形動", u"形容動詞"},
    {u"単漢字", u"名詞", u"単漢字"},
};
static_assert(std::size(kTable) == kPartOfSpeechCount);

// Where several of the 41 share one target name, import takes the most general.
// Target names that no export produces come back as these.
struct Back {
    const char16_t *target;
    const char16_t *name;
};
constexpr Back kMozcBack[] = {
    {u"固有名詞", u"固有一般"}, {u"名詞サ変", u"名詞サ変"}, {u"名詞形動", u"名詞形動"},
    {u"接頭語", u"接頭語"},     {u"形容詞", u"形容詞"},     {u"名詞", u"名詞"},
    {u"接尾人名", u"接尾語"},   {u"接尾地名", u"接尾語"},   {u"顔文字", u"名詞"},
    {u"記号", u"名詞"},
};
constexpr Back kMsImeBack[] = {
    {u"固有名詞", u"固有一般"},     {u"さ変名詞", u"名詞サ変"}, {u"形動名詞", u"名詞形動"},
    {u"接頭語", u"接頭語"},         {u"形容詞", u"形容詞"},     {u"形容動詞", u"形容動詞"},
    {u"動詞ワ行五段", u"ワ行五段"}, {u"地名", u"固有地名"},     {u"短縮よみ", u"名詞"},
    {u"顔文字", u"名詞"},           {u"記号", u"名詞"},
};

struct Tables {
    QList<PosMapping> mappings;
    QHash<QByteArray, QByteArray> toMozc, toMsIme, fromMozc, fromMsIme;
    QList<QByteArray> mozcNames, msImeNames;
};

void addName(QList<QByteArray> &names, const QByteArray &name) {
    if (!names.contains(name))
        names.append(name);
}

const Tables &tables() {
    static const Tables t = [] {
        Tables t;
        for (const Row &row : kTable) {
            PosMapping m{sj(row.name), sj(row.mozc), sj(row.msIme)};
            t.toMozc.insert(m.name, m.mozc);
            t.toMsIme.insert(m.name, m.msIme);
            // The first of the 41 to claim a target name keeps it unless the
            // folding table below names a more general one.
            if (!t.fromMozc.contains(m.mozc))
                t.fromMozc.insert(m.mozc, m.name);
            if (!t.fromMsIme.contains(m.msIme))
                t.fromMsIme.insert(m.msIme, m.name);
            addName(t.mozcNames, m.mozc);
            addName(t.msImeNames, m.msIme);
            t.mappings.append(m);
        }
        for (const Back &b : kMozcBack) {
            t.fromMozc.insert(sj(b.target), sj(b.name));
            addName(t.mozcNames, sj(b.target));
        }
        for (const Back &b : kMsImeBack) {
            t.fromMsIme.insert(sj(b.target), sj(b.name));
            addName(t.msImeNames, sj(b.target));
        }
        return t;
    }();
    return t;
}

// A key for looking up without copying: it must not outlive `name`.
QByteArray lookupKey(QByteArrayView name) {
    return QByteArray::fromRawData(name.data(), name.size());
}

} // namespace

const QList<PosMapping> &posMappings() {
    return tables().mappings;
}

QByteArray posToTarget(InteropFormat format, QByteArrayView name) {
    switch (format) {
    case InteropFormat::Mozc:
        return tables().toMozc.value(lookupKey(name));
    case InteropFormat::MsIme:
        return tables().toMsIme.value(lookupKey(name));
    case InteropFormat::Skk:
    case InteropFormat::Text:
        break;
    }
    return name.toByteArray();
}

QByteArray posFromTarget(InteropFormat format, QByteArrayView targetName) {
    switch (format) {
    case InteropFormat::Mozc:
        return tables().fromMozc.value(lookupKey(targetName));
    case InteropFormat::MsIme:
        return tables().fromMsIme.value(lookupKey(targetName));
    case InteropFormat::Skk:
        return defaultPartOfSpeech();
    case InteropFormat::Text:
        break;
    }
    return targetName.toByteArray();
}

const QList<QByteArray> &targetPosNames(InteropFormat format) {
    static const QList<QByteArray> none;
    switch (format) {
    case InteropFormat::Mozc:
        return tables().mozcNames;
    case InteropFormat::MsIme:
        return tables().msImeNames;
    default:
        return none;
    }
}

QByteArray defaultPartOfSpeech() {
    return sj(u"名詞");
}

} // namespace kelvari
