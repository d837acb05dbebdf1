#include "platform/consoleprinter.h"

#include "platform/sjis.h"

namespace kelvari {

void ConsolePrinter::errorText(const QString &text) {
    const sjis::EncodeResult enc = sjis::encode(text);
    QByteArray bytes = (m_sjis && enc.ok()) ? enc.bytes : text.toLocal8Bit();
    bytes.append('\n');
    m_err(bytes);
}

void ConsolePrinter::fileHeading(const QString &path, qsizetype index, qsizetype count) {
    if (count <= 1)
        return;
    if (index > 0)
        line({});
    const sjis::EncodeResult name = sjis::encode(path);
    line(QByteArray("==> ") + (name.ok() ? name.bytes : path.toUtf8()) + " <==");
}

void ConsolePrinter::put(const Sink &sink, QByteArrayView cp932) {
    QByteArray bytes = m_sjis ? cp932.toByteArray() : sjis::decode(cp932).toLocal8Bit();
    bytes.append('\n');
    sink(bytes);
}

} // namespace kelvari
