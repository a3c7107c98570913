#include <QStringDecoder>
#include <QStringEncoder>

#include "common/ShiftJis.h"

namespace ShiftJis {
namespace {

constexpr const char* Name = "windows-31j";

}  // namespace

std::optional<QString> decode(const QByteArray& bytes) {
    QStringDecoder decoder(Name, QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        return std::nullopt;
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

QString decodeLoosely(const QByteArray& bytes) {
    return QStringDecoder(Name).decode(bytes);
}

std::optional<QByteArray> encode(const QString& text) {
    QStringEncoder encoder(Name);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError()) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace ShiftJis
