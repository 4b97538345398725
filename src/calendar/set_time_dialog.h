#pragma once
#include <QDialog>
#include <QTime>
#include <array>

class QPushButton;

// Picks the day planners' starting time with one button per hour (a row for AM and one
// for PM) and one per minute. The chosen hour and minute are shown in yellow.
class TSetTimeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSetTimeDialog(QWidget* parent = nullptr);

    QTime Time() const { return m_time; }
    void SetTime(const QTime& time);

    // Hours by tag 0..23, minutes by tag 0..59.
    QPushButton* hourButton(int tag) const;
    QPushButton* minuteButton(int tag) const;
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // "hh:mm am/pm": a twelve-hour clock with leading zeros and a lower-case suffix.
    static QString formatTime(const QTime& time);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void hourClick(int tag);
    void minuteClick(int tag);
    void timeChanged();
    static void paintButton(QPushButton* b, bool selected);

    QTime m_time{8, 0};
    int m_hour = 8;
    int m_minute = 0;
    std::array<QPushButton*, 24> m_hours{};
    std::array<QPushButton*, 60> m_minutes{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};
