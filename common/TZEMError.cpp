#include "common/TZEMError.h"

#include <utility>

TZEMError::TZEMError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

TZEMError TZEMError::rangeCheck() {
    return TZEMError(QStringLiteral("範囲チェックエラー"));
}

TZEMError TZEMError::notAnInteger(const QString& text) {
    return TZEMError(QStringLiteral("'%1' は整数ではありません").arg(text));
}

TZEMError TZEMError::notATime(const QString& text) {
    return TZEMError(QStringLiteral("'%1' は時刻ではありません").arg(text));
}

TZEMError TZEMError::notADate(const QString& text) {
    return TZEMError(QStringLiteral("'%1' は日付ではありません").arg(text));
}

TZEMError TZEMError::cannotWrite(const QString& fileName) {
    return TZEMError(QStringLiteral("%1 に書き込めません").arg(fileName));
}
