#pragma once

#include <QString>
#include <cstddef>
#include <memory>

#include "mdbimport/AccessSource.h"

// An Access file (.mdb of Jet 3 or Jet 4, or .accdb) read through libmdb of mdbtools. The file
// is opened read-only. Text arrives as UTF-8 and numbers in the C locale's notation, whatever
// the process's locale; NULL is told apart from the empty text.
//
// Limits of the library: a value is read into a buffer of ValueLimit bytes of UTF-8, and a value
// that fills it is refused rather than cut; characters outside the Basic Multilingual Plane read
// as "??".
class MdbSource : public AccessSource {
public:
    static constexpr std::size_t ValueLimit = 64 * 1024;

    // Raises TZEMError with the reason when the file is missing, empty, a folder, or no Access
    // database that the library can read.
    explicit MdbSource(const QString& path);
    ~MdbSource() override;
    MdbSource(const MdbSource&) = delete;
    MdbSource& operator=(const MdbSource&) = delete;

    QStringList tableNames() const override;
    std::unique_ptr<AccessTable> table(const QString& name) override;

    struct Handle;

private:
    std::unique_ptr<Handle> m_handle;
};
