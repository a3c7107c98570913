#include "recipes/TDBQuery.h"

#include <QSqlError>
#include <QSqlQuery>
#include <limits>

#include "common/TZEMError.h"

namespace {

// Decimal integer text, optional sign, within 32 bits: what the database's integer columns hold.
bool parseInt32(const QString& text, std::int32_t& result) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return false;
        }
        value = value * 10 + (c - u'0');
        if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            return false;
        }
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    result = static_cast<std::int32_t>(value);
    return true;
}

TZEMError nullConversion(const QString& type) {
    return TZEMError(QStringLiteral("バリアント型 (Null) を (%1) に変換できません").arg(type));
}

}  // namespace

std::int32_t integerFromText(const QString& text) {
    std::int32_t result = 0;
    if (!parseInt32(text, result)) {
        throw TZEMError::notAnInteger(text);
    }
    return result;
}

QString textFromValue(const QVariant& value) {
    if (value.isNull()) {
        throw nullConversion(QStringLiteral("String"));
    }
    return value.toString();
}

std::int32_t integerFromValue(const QVariant& value) {
    if (value.isNull()) {
        throw nullConversion(QStringLiteral("Integer"));
    }
    return integerFromText(value.toString());
}

TDBQuery::TDBQuery() = default;
TDBQuery::~TDBQuery() = default;

void TDBQuery::open(QSqlQuery* query, const QHash<QString, int>* columns, Failure failure,
                    std::function<void()> rowArrived) {
    close();
    m_query = query;
    m_columns = columns;
    m_failure = std::move(failure);
    m_rowArrived = std::move(rowArrived);
    m_eof = false;
    step();
}

// The end of the rows, or a row that could not be fetched (a damaged page, a statement stopped
// for taking too long): the latter is an error, never a silently shorter result.
void TDBQuery::step() {
    if (m_query->next()) {
        if (m_rowArrived) {
            m_rowArrived();
        }
        return;
    }
    m_eof = true;
    const QSqlError error = m_query->lastError();
    if (error.isValid() && m_failure) {
        throw m_failure(error);
    }
}

void TDBQuery::close() {
    if (m_query) {
        m_query->finish();
        m_query = nullptr;
    }
    m_columns = nullptr;
    m_eof = true;
}

bool TDBQuery::eof() const {
    return m_eof;
}

void TDBQuery::next() {
    if (!m_eof) {
        step();
    }
}

int TDBQuery::position(const QString& column) const {
    const int position = m_columns != nullptr ? m_columns->value(column, -1) : -1;
    if (position < 0) {
        throw TZEMError(QStringLiteral("項目 '%1' が見つかりません").arg(column));
    }
    return position;
}

QVariant TDBQuery::value(int position) const {
    if (m_eof) {
        throw TZEMError(QStringLiteral("現在のレコードがありません（%1）").arg(position));
    }
    return m_query->value(position);
}

QVariant TDBQuery::value(const QString& column) const {
    if (m_eof) {
        throw TZEMError(QStringLiteral("現在のレコードがありません（%1）").arg(column));
    }
    return m_query->value(position(column));
}

bool TDBQuery::isNull(const QString& column) const {
    return value(column).isNull();
}

QString TDBQuery::asString(const QString& column) const {
    return textFromValue(value(column));
}

std::int32_t TDBQuery::asInteger(const QString& column) const {
    return integerFromValue(value(column));
}
