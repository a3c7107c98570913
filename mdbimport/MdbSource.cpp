#include "mdbimport/MdbSource.h"

// glib first: mdbtools.h uses its types without including it in a way C++ accepts.
#include <glib.h>
#include <locale.h>
#include <mdbtools.h>

#include <QFile>
#include <QtGlobal>
#include <cstdio>
#include <vector>

#include "common/TZEMError.h"
#include "mdbimport/AccessField.h"

namespace {

constexpr int RowOffsetMask = 0x1fff;     // the row's start within its page, without its flags
constexpr unsigned long CatalogPage = 2;  // the page of the table that lists every object

// The library formats numbers with the calling thread's locale; a comma as decimal separator
// would make "1,5" of 1.5. Every call into it runs under the C locale.
class CLocaleScope {
public:
    CLocaleScope() : m_previous(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(m_previous); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    static locale_t cLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
        return c;
    }
    locale_t m_previous;
};

AccessField fieldOf(int mdbType) {
    switch (mdbType) {
        case MDB_TEXT:
            return AccessField::Text;
        case MDB_MEMO:
            return AccessField::Memo;
        case MDB_BYTE:
            return AccessField::Byte;
        case MDB_INT:
            return AccessField::Integer;
        case MDB_LONGINT:
            return AccessField::LongInteger;
        case MDB_FLOAT:
            return AccessField::Single;
        case MDB_DOUBLE:
            return AccessField::Double;
        case MDB_MONEY:
            return AccessField::Currency;
        case MDB_NUMERIC:
            return AccessField::Decimal;
        case MDB_BOOL:
            return AccessField::YesNo;
        case MDB_DATETIME:
            return AccessField::DateTime;
        case MDB_OLE:
            return AccessField::OleObject;
        default:
            return AccessField::Binary;
    }
}

MdbColumn* columnAt(MdbTableDef* table, unsigned i) {
    return static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
}

class MdbTable : public AccessTable {
public:
    explicit MdbTable(MdbTableDef* table) : m_table(table) {
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            const MdbColumn* col = columnAt(m_table, i);
            m_columns << accessColumn(QString::fromUtf8(col->name), fieldOf(col->col_type));
        }
        m_fields.resize(m_table->num_cols);
        m_null.resize(m_table->num_cols);
    }
    ~MdbTable() override { mdb_free_tabledef(m_table); }
    MdbTable(const MdbTable&) = delete;
    MdbTable& operator=(const MdbTable&) = delete;

    QList<AccessColumn> columns() const override { return m_columns; }
    std::int64_t declaredRows() const override { return m_table->num_rows; }

    void select(const QList<int>& columns) override {
        CLocaleScope c;
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            MdbColumn* col = columnAt(m_table, i);
            col->bind_ptr = nullptr;
            col->len_ptr = nullptr;
        }
        m_selected = columns;
        m_buffers.assign(columns.size(), std::vector<char>(MdbSource::ValueLimit));
        m_lengths.assign(columns.size(), 0);
        for (qsizetype i = 0; i < columns.size(); ++i) {
            mdb_bind_column(m_table, columns[i] + 1, m_buffers[i].data(), &m_lengths[i]);
        }
        mdb_rewind_table(m_table);
    }

    bool fetch(AccessRow& row) override {
        CLocaleScope c;
        if (!mdb_fetch_row(m_table)) {
            return false;
        }
        markNulls();
        row.resize(m_selected.size());
        for (qsizetype i = 0; i < m_selected.size(); ++i) {
            const int column = m_selected[i];
            AccessValue& value = row[i];
            value.null = m_null[column] != 0;
            if (value.null) {
                value.text.clear();
                continue;
            }
            if (std::size_t(m_lengths[i]) + 1 >= MdbSource::ValueLimit) {
                throw TZEMError(QStringLiteral("列 %1 に %2 バイト以上の値があり、読み切れません")
                                    .arg(m_columns[column].name)
                                    .arg(MdbSource::ValueLimit - 1));
            }
            value.text = QString::fromUtf8(m_buffers[i].data(), m_lengths[i]);
        }
        return true;
    }

private:
    // The library reads NULL and the empty text alike; the row's null mask tells them apart.
    // The row just fetched is the one before the table's cursor, on the page in the buffer.
    void markNulls() {
        MdbHandle* mdb = m_table->entry->mdb;
        int start = 0;
        size_t size = 0;
        if (m_table->cur_row == 0 ||
            mdb_find_row(mdb, int(m_table->cur_row) - 1, &start, &size) != 0 ||
            mdb_crack_row(m_table, start & RowOffsetMask, size, m_fields.data()) < 0) {
            throw TZEMError(QStringLiteral("行を読めません。ファイルが壊れている可能性があります"));
        }
        std::fill(m_null.begin(), m_null.end(), 0);
        for (unsigned i = 0; i < m_table->num_cols; ++i) {
            const int column = m_fields[i].colnum;
            // A yes/no column keeps its value in the null mask; it is never NULL.
            if (column >= 0 && unsigned(column) < m_table->num_cols &&
                columnAt(m_table, unsigned(column))->col_type != MDB_BOOL) {
                m_null[std::size_t(column)] = m_fields[i].is_null;
            }
        }
    }

    MdbTableDef* m_table;
    QList<AccessColumn> m_columns;
    QList<int> m_selected;
    std::vector<std::vector<char>> m_buffers;
    std::vector<int> m_lengths;
    std::vector<MdbField> m_fields;
    std::vector<unsigned char> m_null;
};

// The library lists the tables it could read and keeps quiet about the rest: a file cut short
// lists fewer tables, or none. The system table that lists them must read whole.
bool catalogIsWhole(MdbHandle* mdb) {
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    std::snprintf(entry.object_name, sizeof entry.object_name, "MSysObjects");
    entry.object_type = MDB_TABLE;
    entry.table_pg = CatalogPage;
    MdbTableDef* table = mdb_read_table(&entry);
    if (!table) {
        return false;
    }
    bool whole = mdb_read_columns(table) != nullptr;
    if (whole) {
        mdb_rewind_table(table);
        unsigned rows = 0;
        while (mdb_fetch_row(table)) {
            ++rows;
        }
        whole = rows == table->num_rows;
    }
    mdb_free_tabledef(table);
    return whole;
}

}  // namespace

struct MdbSource::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb) {
            CLocaleScope c;
            mdb_close(mdb);
        }
    }
};

MdbSource::MdbSource(const QString& path) : m_handle(std::make_unique<Handle>()) {
    checkFile(path);
    // The library converts text to the character set this variable names; we read UTF-8.
    if (qEnvironmentVariableIsSet("MDBICONV")) {
        qunsetenv("MDBICONV");
    }
    CLocaleScope c;
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb) {
        throw TZEMError(QStringLiteral("Access のデータベースではないか、壊れています"));
    }
    mdb_set_bind_size(m_handle->mdb, ValueLimit);
    if (!mdb_read_catalog(m_handle->mdb, MDB_TABLE) || !catalogIsWhole(m_handle->mdb)) {
        throw TZEMError(
            QStringLiteral("表の一覧を読めません。ファイルが壊れている可能性があります"));
    }
}

MdbSource::~MdbSource() = default;

QStringList MdbSource::tableNames() const {
    QStringList names;
    MdbHandle* mdb = m_handle->mdb;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry)) {
            names << QString::fromUtf8(entry->object_name);
        }
    }
    return names;
}

std::unique_ptr<AccessTable> MdbSource::table(const QString& name) {
    CLocaleScope c;
    MdbHandle* mdb = m_handle->mdb;
    const QByteArray utf8 = name.toUtf8();
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || utf8 != entry->object_name) {
            continue;
        }
        MdbTableDef* table = mdb_read_table(entry);
        if (!table) {
            break;
        }
        if (!mdb_read_columns(table)) {
            mdb_free_tabledef(table);
            break;
        }
        return std::make_unique<MdbTable>(table);
    }
    throw TZEMError(
        QStringLiteral("表 %1 を読めません。ファイルが壊れている可能性があります").arg(name));
}
