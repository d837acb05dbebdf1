#pragma once
// Failures that end a command. The handler that started the command catches
// them and shows `message()`; nothing after the failing step runs.

#include <QString>
#include <exception>

namespace kelvari {

class AppError : public std::exception {
public:
    explicit AppError(QString message) : m_message(std::move(message)) {}
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return "kelvari::AppError"; }

private:
    QString m_message;
};

// File input and output failures, reported with the program's fixed texts.
enum class IoFailure {
    FileNotFound,     // "ﾌｧｲﾙが見つかりません"
    InvalidFileName,  // "不正なﾌｧｲﾙ名です"
    TooManyOpenFiles, // "ｵｰﾌﾟﾝしたﾌｧｲﾙが多すぎます"
    AccessDenied,     // "ﾌｧｲﾙへのｱｸｾｽが拒否されました"
    ReadPastEnd,      // "ﾌｧｲﾙの末尾以降を読み込みました"
    DiskFull,         // "ﾃﾞｨｽｸがいっぱいです" (also for a file too large, EFBIG)
    Other,            // "I/O ｴﾗｰ (%d)"
};

class IoError : public AppError {
public:
    IoError(IoFailure failure, int code = 0);
    IoFailure failure() const { return m_failure; }
    int code() const { return m_code; }

    static QString messageFor(IoFailure failure, int code);
    // Classifies the operating system's error number (errno) of a failed call.
    static IoError fromErrno(int errorNumber);

private:
    IoFailure m_failure;
    int m_code;
};

} // namespace kelvari
