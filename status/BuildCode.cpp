#include "status/BuildCode.h"

#include <QRegularExpression>
#include <cstdint>

#include "common/TZEMError.h"

namespace {

constexpr char Alphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int CheckModulus = 1021;  // prime, below 32 x 32
const QString Prefix = QStringLiteral("TAMU");

// 3 + 4 + 5 x 4 + 6 = 33 bits; the two above them stay 0.
constexpr int JobBits = 3;
constexpr int FactionBits = 4;
constexpr int BonusBits = 4;
constexpr int LevelBits = 6;
constexpr int UsedBits = JobBits + FactionBits + StatusBuild::BonusCount * BonusBits + LevelBits;

int symbolValue(QChar c) {
    switch (c.toUpper().unicode()) {
        case u'O':
            return 0;
        case u'I':
        case u'L':
            return 1;
        default:
            break;
    }
    for (int v = 0; v < 32; ++v) {
        if (c.toUpper() == QLatin1Char(Alphabet[v])) {
            return v;
        }
    }
    return -1;
}

int checkValue(int version, const int (&symbols)[BuildCode::DataLength]) {
    std::int64_t sum = version % CheckModulus;
    for (int i = 0; i < BuildCode::DataLength; ++i) {
        sum += std::int64_t{i + 2} * symbols[i];
    }
    return static_cast<int>(sum % CheckModulus);
}

[[noreturn]] void refuse(const QString& why) {
    throw TZEMError(QStringLiteral("ビルドコードを読み込めません：") + why);
}

[[noreturn]] void damaged(const QString& detail) {
    refuse(QStringLiteral("コードが壊れています（") + detail + u'）');
}

}  // namespace

QString BuildCode::pack(const StatusBuild& build, int version) {
    const auto field = [](std::int32_t value, int bits) {
        return static_cast<std::uint64_t>(value) & ((std::uint64_t{1} << bits) - 1);
    };
    std::uint64_t bits = field(build.job, JobBits);
    int shift = JobBits;
    bits |= field(build.faction, FactionBits) << shift;
    shift += FactionBits;
    for (const std::int32_t b : build.bonus) {
        bits |= field(b, BonusBits) << shift;
        shift += BonusBits;
    }
    bits |= field(build.level, LevelBits) << shift;

    int symbols[DataLength];
    QString code = Prefix + QString::number(version) + u'-';
    for (int i = 0; i < DataLength; ++i) {
        symbols[i] = static_cast<int>((bits >> (5 * (DataLength - 1 - i))) & 31);
        code += QLatin1Char(Alphabet[symbols[i]]);
    }
    const int check = checkValue(version, symbols);
    code += QLatin1Char(Alphabet[check / 32]);
    code += QLatin1Char(Alphabet[check % 32]);
    return code;
}

QString BuildCode::encode(const StatusBuild& build) {
    if (const auto problem = build.problem()) {
        throw TZEMError(QStringLiteral("ビルドコードにできません：") + *problem);
    }
    return pack(build);
}

StatusBuild BuildCode::decode(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("TAMU(\\d+)-([0-9A-Z]*)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        refuse(
            QStringLiteral("コードが見つかりません（「%1%2-」で始まる文字列を貼り付けてください）")
                .arg(Prefix)
                .arg(Version));
    }
    // A newer version may have another layout: it is refused before anything else is read.
    bool ok = false;
    const qulonglong version = match.captured(1).toULongLong(&ok);
    if (!ok || version > Version) {
        refuse(QStringLiteral("新しい版（第 %1 版）のコードです。この TAMU が読めるのは第 %2 "
                              "版までです")
                   .arg(match.captured(1))
                   .arg(Version));
    }
    if (version < 1) {
        damaged(QStringLiteral("版の番号 %1 はありません").arg(match.captured(1)));
    }
    const QString body = match.captured(2);
    if (body.size() != DataLength + CheckLength) {
        damaged(QStringLiteral("「-」の後は %1 文字のところ %2 文字です")
                    .arg(DataLength + CheckLength)
                    .arg(body.size()));
    }
    int values[DataLength + CheckLength];
    for (int i = 0; i < body.size(); ++i) {
        values[i] = symbolValue(body[i]);
        if (values[i] < 0) {
            damaged(QStringLiteral("使えない文字「%1」があります").arg(body[i]));
        }
    }
    int symbols[DataLength];
    std::uint64_t bits = 0;
    for (int i = 0; i < DataLength; ++i) {
        symbols[i] = values[i];
        bits = (bits << 5) | static_cast<std::uint64_t>(values[i]);
    }
    const int check = values[DataLength] * 32 + values[DataLength + 1];
    if (check != checkValue(static_cast<int>(version), symbols) || (bits >> UsedBits) != 0) {
        damaged(QStringLiteral("検査文字が合いません。写し間違いがないか確かめてください"));
    }

    const auto take = [&bits](int width) {
        const auto value = static_cast<std::int32_t>(bits & ((std::uint64_t{1} << width) - 1));
        bits >>= width;
        return value;
    };
    StatusBuild build;
    build.job = take(JobBits);
    build.faction = take(FactionBits);
    for (std::int32_t& b : build.bonus) {
        b = take(BonusBits);
    }
    build.level = take(LevelBits);
    if (const auto problem = build.problem()) {
        refuse(QStringLiteral("ありえないビルドです。") + *problem);
    }
    return build;
}
