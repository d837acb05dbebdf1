#include "widgets/japanesefonts.h"

namespace kelvari::fonts {

QString gothic() {
    return QStringLiteral("ＭＳ ゴシック");
}

QString proportionalGothic() {
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void installSubstitutions() {
    static const bool done = [] {
        QFont::insertSubstitution(gothic(), QStringLiteral("Noto Sans Mono CJK JP"));
        QFont::insertSubstitution(proportionalGothic(), QStringLiteral("Noto Sans CJK JP"));
        return true;
    }();
    Q_UNUSED(done);
}

QFont withPixels(const QString &family, int pixels) {
    QFont font(family);
    font.setPixelSize(pixels);
    return font;
}

} // namespace kelvari::fonts
