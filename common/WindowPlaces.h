#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

#include "common/IniProfile.h"
#include "common/ScreenAreas.h"

class QWidget;

// Where the user left the tool windows that TAMU places itself, and a few settings of theirs,
// kept across runs in TAMUWindows.ini of the data folder: one section per window class (its
// object name) with the frame's top-left corner (Left, Top), the client size (Width, Height) and
// whatever values the window adds.
//
// A tracked window opens where it was left, pulled onto a screen that is there; the first time,
// beside the controller rather than over it. Places and values are kept in memory while TAMU
// runs and written once when it closes, so that a data folder that cannot be written costs one
// message at the end and nothing before.
//
// The controller makes one and installs it for the windows to find (shared()); without one,
// windows open where the system puts them and remember nothing.
class WindowPlaces : public QObject {
    Q_OBJECT

public:
    static inline const QString FileName = QStringLiteral("TAMUWindows.ini");

    struct Place {
        QPoint frameTopLeft;
        QSize size;  // of the client area
        bool operator==(const Place&) const = default;
    };

    // `folder` ends with a separator; the file is read at once.
    explicit WindowPlaces(const QString& folder, QObject* parent = nullptr);
    ~WindowPlaces() override;

    const QString& fileName() const { return m_profile.fileName(); }

    // The remembered place of a window class, as written; nothing when a value is missing or no
    // place at all (not a number, a size of nothing, coordinates beyond any desktop).
    std::optional<Place> place(const QString& window) const;
    void setPlace(const QString& window, const Place& place);
    QString value(const QString& window, const QString& key, const QString& defaultValue) const;
    void setValue(const QString& window, const QString& key, const QString& value);

    // The window first placements keep clear of, and whose frame tells how large a frame the
    // window manager puts around a tool window.
    void setController(QWidget* controller);

    // Moves the window, before it is shown, to where a window of its class was left, or to its
    // first place; when it closes, where it stands is remembered.
    void track(QWidget* window);
    // Notes where every tracked window stands now: the controller closes them without their
    // close events when the program ends.
    void recordOpenWindows();
    // Writes the places and values that changed; throws TZEMError "%s に書き込めません".
    void save();

    // The installed instance, or null.
    static WindowPlaces* shared();
    static void setShared(WindowPlaces* places);
    // track() on the installed instance, if there is one.
    static void attach(QWidget* window);
    // Opens a window that has no remembered place just right of `neighbour` (the window it
    // belongs to), when there it lies wholly on a work area and clear of the controller.
    static void placeBeside(QWidget* window, const QWidget* neighbour);

    // The rules on their own, over the given screens (frames, not client areas):
    // A remembered frame that lies wholly on the screens' work areas stays where it is; any other
    // is pulled onto the work area it overlaps most (or the nearest one), shrunk to fit it, but
    // never below `minimum`.
    static QRect restoredFrame(const QRect& saved, const QSize& minimum,
                               const QList<ScreenAreas::Screen>& screens);
    // A first place for a frame of this size on the controller's screen: above the controller,
    // else left of it, below it, right of it; the first of them that lies in the work area
    // without covering the controller, or the one that covers least of it.
    static QRect firstFrame(const QSize& frame, const QRect& controller,
                            const QList<ScreenAreas::Screen>& screens);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Value {
        QString section;
        QString key;
        QString text;
    };
    static QString slot(const QString& section, const QString& key);
    void record(const QWidget* window);
    QMargins frameMargins(const QWidget* window) const;
    QRect controllerFrame() const;
    bool occupied(const QWidget* window, const QPoint& frameTopLeft) const;

    IniProfile m_profile;
    QHash<QString, Value> m_values;    // by slot(); what is in force
    QHash<QString, QString> m_stored;  // by slot(); as read or last written
    QStringList m_order;               // every slot, in the order it was read or first set
    QPointer<QWidget> m_controller;
    QList<QPointer<QWidget>> m_windows;
};
