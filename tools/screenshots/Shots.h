#pragma once

#include <QString>
#include <functional>

class QImage;
class QWidget;

// The screenshot program renders every window offscreen into PNG files. Each subsystem adds a
// file shots_<name>.cpp beside this one that registers its scenes:
//
//   static const ShotRegistrar clockShots("clock", [](ShotContext& ctx) { ... ctx.save(w,
//   "clock_day"); });
//
// A scene builds its window with real objects (a temporary DAT folder is prepared in
// ctx.dataFolder, holding a copy of the sample item database), puts it into the state to show,
// and saves it.
struct ShotContext {
    QString outputFolder;  // where the PNG files go
    QString dataFolder;    // a scratch DAT folder with TAMU_Item.db, trailing '/'
    QString itemDatabase;  // dataFolder + "TAMU_Item.db"

    // Shows the widget offscreen, lets pending events run, and writes <name>.png. With
    // `transparent` the widget's window mask is applied: pixels outside it become transparent.
    void save(QWidget* widget, const QString& name, bool transparent = false) const;
    // The same, with the tooltip now showing drawn over the window where it stands.
    void saveWithToolTip(QWidget* widget, const QString& name) const;

private:
    void write(const QImage& image, const QString& name) const;
};

using ShotScene = std::function<void(ShotContext&)>;

struct ShotRegistrar {
    ShotRegistrar(const char* name, ShotScene scene);
};
