#pragma once

#include <QString>
#include <memory>

#include "mdbimport/StartupImport.h"

class QProgressDialog;

// The window of a slow start-up import: the file's name, a busy bar and 中止.
namespace ImportProgress {

std::unique_ptr<QProgressDialog> dialog(const QString& source);
// Shows the dialog, its cancel button stopping the import.
StartupImport::ProgressWindow window();

}  // namespace ImportProgress
