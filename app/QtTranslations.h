#pragma once

class QCoreApplication;

// Qt's own texts in Japanese: the standard dialogs (file dialogs, message-box buttons) and the
// edit menus of text fields. Taken from translations/ beside the program (a TAMU for Windows
// brings them there), else from Qt's own folder. Returns whether they were found.
namespace QtTranslations {

bool install(QCoreApplication& app);

}  // namespace QtTranslations
