#pragma once

#include <QAbstractTableModel>
#include <QWidget>
#include <vector>

#include "ship/ComingEvents.h"

class AlarmSchedule;
class QCheckBox;
class QComboBox;
class QTableView;
class QTimer;
class TZEMTime;

// The rows of "これからの予定": each coming event with its real time left, refreshed as a whole.
class ComingEventsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { ColLeft, ColGameTime, ColWhat, ColPort, ColAlarm, ColumnCount };
    using QAbstractTableModel::QAbstractTableModel;

    void setEvents(std::vector<ComingEvents::Event> events);
    const ComingEvents::Event& at(int row) const { return m_events[std::size_t(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    std::vector<ComingEvents::Event> m_events;
};

// "これからの予定", opened from 航路案内: every coming arrival, sailing and landing of the next 24
// real hours, the turns of day and night and the alarms, in the order they come, with the real
// time left; the ships of one port or of chosen kinds only; a click on a row's アラーム sets an
// alarm on that very moment.
class TZEMForm10 : public QWidget {
    Q_OBJECT

public:
    TZEMForm10(TZEMTime& gameClock, AlarmSchedule& alarms, QWidget* parent = nullptr);

    ComingEventsModel& model() { return m_model; }
    void refresh();
    // Sets an alarm on the event of the row (with the lead of the alarm list's default).
    void setAlarmAt(int row);

private:
    TZEMTime& m_gameClock;
    AlarmSchedule& m_alarms;
    ComingEventsModel m_model;
    QComboBox* selPort = nullptr;
    QCheckBox* chkArrival = nullptr;
    QCheckBox* chkSailing = nullptr;
    QCheckBox* chkLanding = nullptr;
    QTableView* viwEvents = nullptr;
    QTimer* m_timer = nullptr;
};
