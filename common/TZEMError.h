#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// The one error type of the program: a message for the user. Top-level entry points run their
// bodies through Messages::guarded, which shows the message and lets the program carry on.
class TZEMError : public std::exception {
public:
    explicit TZEMError(QString message);

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

    // The standard messages, worded as the Japanese run-time library words them.
    static TZEMError rangeCheck();                          // 範囲チェックエラー
    static TZEMError notAnInteger(const QString& text);     // '%s' は整数ではありません
    static TZEMError notATime(const QString& text);         // '%s' は時刻ではありません
    static TZEMError notADate(const QString& text);         // '%s' は日付ではありません
    static TZEMError cannotWrite(const QString& fileName);  // %s に書き込めません

private:
    QString m_message;
    QByteArray m_utf8;
};
