#include <windows.h>

#include "common/ShiftJis.h"

namespace ShiftJis {
namespace {

constexpr UINT CodePage = 932;

std::optional<QString> toUnicode(const QByteArray& bytes, DWORD flags) {
    if (bytes.isEmpty()) {
        return QString();
    }
    const int length = MultiByteToWideChar(CodePage, flags, bytes.constData(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    QString text(length, Qt::Uninitialized);
    MultiByteToWideChar(CodePage, flags, bytes.constData(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(text.data()), length);
    return text;
}

}  // namespace

std::optional<QString> decode(const QByteArray& bytes) {
    return toUnicode(bytes, MB_ERR_INVALID_CHARS);
}

QString decodeLoosely(const QByteArray& bytes) {
    return toUnicode(bytes, 0).value_or(QString());
}

std::optional<QByteArray> encode(const QString& text) {
    if (text.isEmpty()) {
        return QByteArray();
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int units = static_cast<int>(text.size());
    // No "best fit": a character without its own code is refused, not replaced by a look-alike.
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, units, nullptr, 0,
                                           nullptr, &lossy);
    if (length <= 0 || lossy) {
        return std::nullopt;
    }
    QByteArray bytes(length, Qt::Uninitialized);
    WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, units, bytes.data(), length, nullptr,
                        &lossy);
    return bytes;
}

}  // namespace ShiftJis
