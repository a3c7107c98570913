#include "app/TZEMBaseConfig.h"

#include <QRect>
#include <utility>

#include "common/IniProfile.h"
#include "common/ScreenAreas.h"

namespace {

const QString Section = QStringLiteral("Controler");
const QString TopKey = QStringLiteral("Top");
const QString LeftKey = QStringLiteral("Left");

}  // namespace

TZEMBaseConfig::TZEMBaseConfig(QString folder) : m_folder(std::move(folder)) {
    Load();
}

void TZEMBaseConfig::Load() {
    FileName = m_folder + QStringLiteral("TAMU.ini");
    const IniProfile::Contents ini = IniProfile(FileName).read();
    Top = ini.readInteger(Section, TopKey, -1);
    Left = ini.readInteger(Section, LeftKey, -1);

    // The work area's bottom and right as the system gives them: one past the last pixel. With
    // several monitors the work area spans all of them, so a position on any of them is kept.
    const QRect work = ScreenAreas::virtualWorkArea();
    const qint64 bottom = qint64(work.y()) + work.height();
    const qint64 right = qint64(work.x()) + work.width();
    if (Top > bottom || Left > right) {
        Top = -1;
        Left = -1;
    }
}

void TZEMBaseConfig::Save(std::int32_t ATop, std::int32_t ALeft) {
    FileName = m_folder + QStringLiteral("TAMU.ini");
    // Both values in one replacement of the file, so a position is never half saved.
    IniProfile(FileName).write(
        {{Section, TopKey, QString::number(ATop)}, {Section, LeftKey, QString::number(ALeft)}});
}
