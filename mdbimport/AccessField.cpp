#include "mdbimport/AccessField.h"

AccessColumn accessColumn(const QString& name, AccessField field) {
    const auto column = [&](AccessType type, const char16_t* typeName) {
        return AccessColumn{name, type, QString::fromUtf16(typeName)};
    };
    switch (field) {
        case AccessField::Text:
            return column(AccessType::Text, u"テキスト型");
        case AccessField::Memo:
            return column(AccessType::Text, u"メモ型");
        case AccessField::Byte:
            return column(AccessType::Integer, u"バイト型");
        case AccessField::Integer:
            return column(AccessType::Integer, u"整数型");
        case AccessField::LongInteger:
            return column(AccessType::Integer, u"長整数型");
        case AccessField::LargeNumber:
            return column(AccessType::Integer, u"大きい数値");
        case AccessField::Single:
            return column(AccessType::Real, u"単精度浮動小数点型");
        case AccessField::Double:
            return column(AccessType::Real, u"倍精度浮動小数点型");
        case AccessField::Currency:
            return column(AccessType::Real, u"通貨型");
        case AccessField::Decimal:
            return column(AccessType::Real, u"十進型");
        case AccessField::YesNo:
            return column(AccessType::Other, u"Yes/No 型");
        case AccessField::DateTime:
            return column(AccessType::Other, u"日付/時刻型");
        case AccessField::OleObject:
            return column(AccessType::Other, u"OLE オブジェクト型");
        case AccessField::Binary:
            break;
    }
    return column(AccessType::Other, u"バイナリ型");
}
