#include "check/partsofspeech.h"

#include "platform/sjis.h"

#include <array>
#include <cstring>

namespace kelvari {
namespace {

constexpr std::array<const char16_t *, kPartOfSpeechCount> kNames = {
    u"名詞",     u"固有人姓", u"固有人名", u"固有人他", u"固有地名", u"固有組織", u"固有商品",
    u"固有一般", u"名詞サ変", u"名詞ザ変", u"名詞形動", u"名サ形動", u"数詞",     u"副詞",
    u"連体詞",   u"接続詞",   u"感動詞",   u"独立語",   u"接頭語",   u"冠数詞",   u"接尾語",
    u"助数詞",   u"カ行五段", u"ガ行五段", u"サ行五段", u"タ行五段", u"ナ行五段", u"バ行五段",
    u"マ行五段", u"ラ行五段", u"ワ行五段", u"ハ行四段", u"一段動詞", u"カ変動詞", u"サ変動詞",
    u"ザ変動詞", u"形容詞",   u"形容詞ウ", u"形容動詞", u"形動タリ", u"単漢字",
};

} // namespace

const QList<QByteArray> &partOfSpeechNames() {
    static const QList<QByteArray> names = [] {
        QList<QByteArray> list;
        for (const char16_t *name : kNames)
            list.append(sj(QStringView(name)));
        return list;
    }();
    return names;
}

QStringList partOfSpeechDisplayNames() {
    QStringList list;
    for (const char16_t *name : kNames)
        list.append(QStringView(name).toString());
    return list;
}

int partOfSpeechIndex(QByteArrayView name) {
    const QList<QByteArray> &names = partOfSpeechNames();
    for (int i = 0; i < names.size(); ++i) {
        const QByteArray &candidate = names[i];
        if (candidate.size() == name.size() &&
            std::memcmp(candidate.constData(), name.data(), size_t(name.size())) == 0)
            return i;
    }
    return -1;
}

} // namespace kelvari
