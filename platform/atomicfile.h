#pragma once
// The one way this program replaces a file: the new bytes go to a temporary
// file beside it, which takes the old file's place only when every byte of it
// reached the disk. Any failure leaves the old file exactly as it was, removes
// the temporary file and raises IoError with the program's message.
//
//   saveFileAtomically(path, bytes);
//   saveFileAtomically(path, [&](const ByteSink &sink) {
//       for (...) sink(piece); // a failed piece throws IoError out of the producer
//   });

#include <QByteArrayView>
#include <QString>
#include <functional>

namespace kelvari {

// Takes the next piece of the file. Throws IoError when it cannot be written.
using ByteSink = std::function<void(QByteArrayView)>;
// Hands the whole file to the sink, in as many pieces as suits it.
using ByteProducer = std::function<void(const ByteSink &)>;

// Throws IoError (a full disk or a file grown past the system's size limit give
// "ﾃﾞｨｽｸがいっぱいです"); an exception from `produce` passes through unchanged.
// Either way the previous file stays as it was.
void saveFileAtomically(const QString &path, const ByteProducer &produce);
void saveFileAtomically(const QString &path, QByteArrayView bytes);

// Copies `source` byte for byte over whatever `target` held, the same way.
// Throws IoError: a missing source, one that cannot be read, or a failed write.
void copyFileAtomically(const QString &source, const QString &target);

} // namespace kelvari
