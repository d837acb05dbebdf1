#pragma once
// Lines for a terminal: CP932 text as the user's locale shows it, or as the
// CP932 bytes themselves when asked (--sjis). Each line ends with LF.

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kelvari {

class ConsolePrinter {
public:
    // Takes the bytes of one or more lines; may throw to stop the run.
    using Sink = std::function<void(QByteArrayView)>;

    ConsolePrinter(const Sink &out, const Sink &err, bool sjisOutput)
        : m_out(out), m_err(err), m_sjis(sjisOutput) {}

    // A CP932 line.
    void line(QByteArrayView cp932) { put(m_out, cp932); }
    void errorLine(QByteArrayView cp932) { put(m_err, cp932); }
    // Text CP932 may not hold (a file name, an imported line): in the locale's
    // encoding unless CP932 output was asked for and can hold it.
    void errorText(const QString &text);
    // "path: message" on the error stream.
    void fileError(const QString &path, const QString &message) {
        errorText(path + QStringLiteral(": ") + message);
    }
    // "==> path <==" before the output of each of several files, with a blank
    // line between them; nothing when there is only one.
    void fileHeading(const QString &path, qsizetype index, qsizetype count);

private:
    void put(const Sink &sink, QByteArrayView cp932);

    const Sink &m_out;
    const Sink &m_err;
    bool m_sjis;
};

} // namespace kelvari
