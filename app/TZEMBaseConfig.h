#pragma once

#include <QString>
#include <cstdint>

// Remembers where the user left the controller: TAMU.ini, section "Controler", keys Top and Left.
// A saved position beyond the bottom or the right edge of the work area is discarded.
class TZEMBaseConfig {
public:
    // folder: the DAT folder with its trailing separator.
    explicit TZEMBaseConfig(QString folder);

    void Load();
    // Writes Top then Left; throws "%s に書き込めません" when the file cannot be written. The
    // fields Top and Left are left as they are.
    void Save(std::int32_t ATop, std::int32_t ALeft);

    QString FileName;
    std::int32_t Top = -1;
    std::int32_t Left = -1;

private:
    QString m_folder;
};
