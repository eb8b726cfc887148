#pragma once

#include <QGroupBox>
#include <vector>

#include "config/SettingKeys.h"

class QCheckBox;
class QComboBox;

namespace tollix {

// One "折价时间段" box: the discount period, its weekend days and today's
// discount switch. Each fee group of the internet tab has one, and so does the
// telephone tab; the keys are those of a connection's section, which the
// telephone section shares.
//
// object name (prefix "", "Fix" or "Tel")   member
// Frame1 / Frame3 / Frame2                  this
// cek<prefix>Holiday                        holiday_
// cekEveryDay / cekFixEveryday / cekTelEveryDay   everyday_
// cbo<prefix>StartHour, …StartMinute        startHour_, startMinute_
// cbo<prefix>EndHour, …EndMinute            endHour_, endMinute_
// cek<prefix>Saturday, cek<prefix>Sunday    saturday_, sunday_
class DiscountPeriodBox : public QGroupBox {
    Q_OBJECT
public:
    DiscountPeriodBox(const QString& frameName, const QString& prefix, const QString& everydayName,
        QWidget* parent = nullptr);

    // Shows the period, day and discount choices of a connection or telephone tariff.
    template <typename Tariff> void Fill(const Tariff& t)
    {
        Fill(t.EverydayFlag, t.SaturdayFlag, t.SundayFlag, t.StartHour, t.StartMinute, t.EndHour, t.EndMinute,
            t.HolidayFlag);
    }
    // Every control and caption of the box, the frame itself left enabled.
    void EnableControls(bool enabled);
    // The four period combos only.
    void EnableTimes(bool enabled);
    // The Saturday box reports the user's own click and the focus leaving it,
    // as the per-minute group's always has, but not a refill for another
    // connection, which is no edit.
    void ReportSaturdayOnFocusOut();

signals:
    void periodPicked(ConnectionSetting field, const QString& text);
    void flagToggled(ConnectionSetting field, bool on);
    void holidayToggled(bool on);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(int16_t everyday, int16_t saturday, int16_t sunday, int16_t startHour, int16_t startMinute,
        int16_t endHour, int16_t endMinute, int16_t holiday);

    QCheckBox* holiday_ = nullptr;
    QCheckBox* everyday_ = nullptr;
    QComboBox* startHour_ = nullptr;
    QComboBox* startMinute_ = nullptr;
    QComboBox* endHour_ = nullptr;
    QComboBox* endMinute_ = nullptr;
    QCheckBox* saturday_ = nullptr;
    QMetaObject::Connection saturdayToggled_;
    QCheckBox* sunday_ = nullptr;
    std::vector<QWidget*> captions_;
};

}  // namespace tollix
