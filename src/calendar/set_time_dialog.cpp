#include "set_time_dialog.h"

#include "platform/help_contexts.h"
#include "widgets/dialog_help.h"

#include "platform/win_color.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const char* kBaseColor = "ovBaseColor";
constexpr QRgb kSilver = qRgb(192, 192, 192);
constexpr QRgb kYellow = qRgb(255, 255, 0);

QPushButton* makeButton(const QString& text, QWidget* parent, bool silver)
{
    auto* b = new QPushButton(text, parent);
    b->setFixedSize(34, 24);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::TabFocus);
    // Silver buttons mark the quarter hours and stay silver when not selected.
    b->setProperty(kBaseColor, silver ? QColor(kSilver) : toQColor(clBtnFace));
    return b;
}
} // namespace

TSetTimeDialog::TSetTimeDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Set Time"));
    auto* outer = new QVBoxLayout(this);

    auto* hoursBox = new QGroupBox(QStringLiteral("Hour"), this);
    auto* hours = new QGridLayout(hoursBox);
    hours->setSpacing(2);
    hours->addWidget(new QLabel(QStringLiteral("AM"), hoursBox), 0, 0);
    hours->addWidget(new QLabel(QStringLiteral("PM"), hoursBox), 1, 0);
    for (int tag = 0; tag < 24; ++tag) {
        const int h12 = tag % 12 == 0 ? 12 : tag % 12;
        QPushButton* b = makeButton(QString::number(h12), hoursBox, false);
        b->setObjectName(QStringLiteral("hour%1").arg(tag));
        b->setProperty("tag", tag);
        connect(b, &QPushButton::clicked, this, [this, tag] { hourClick(tag); });
        hours->addWidget(b, tag / 12, 1 + tag % 12);
        m_hours[size_t(tag)] = b;
    }
    outer->addWidget(hoursBox);

    auto* minutesBox = new QGroupBox(QStringLiteral("Minute"), this);
    auto* minutes = new QGridLayout(minutesBox);
    minutes->setSpacing(2);
    for (int tag = 0; tag < 60; ++tag) {
        QPushButton* b = makeButton(QStringLiteral("%1").arg(tag, 2, 10, QLatin1Char('0')), minutesBox, tag % 15 == 0);
        b->setObjectName(QStringLiteral("minute%1").arg(tag));
        b->setProperty("tag", tag);
        connect(b, &QPushButton::clicked, this, [this, tag] { minuteClick(tag); });
        minutes->addWidget(b, tag / 12, tag % 12);
        m_minutes[size_t(tag)] = b;
    }
    outer->addWidget(minutesBox);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_ok = new QPushButton(QStringLiteral("&Ok"), this);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_ok->setObjectName(QStringLiteral("btnOk"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    outer->addLayout(buttons);

    for (QPushButton* b : m_hours)
        paintButton(b, false);
    for (QPushButton* b : m_minutes)
        paintButton(b, false);
    attachHelp(this, HelpContexts::SetTime);
}

void TSetTimeDialog::SetTime(const QTime& time)
{
    m_time = time.isValid() ? QTime(time.hour(), time.minute()) : QTime(8, 0);
}

QPushButton* TSetTimeDialog::hourButton(int tag) const
{
    return tag >= 0 && tag < 24 ? m_hours[size_t(tag)] : nullptr;
}

QPushButton* TSetTimeDialog::minuteButton(int tag) const
{
    return tag >= 0 && tag < 60 ? m_minutes[size_t(tag)] : nullptr;
}

QString TSetTimeDialog::formatTime(const QTime& time)
{
    const int h12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return QStringLiteral("%1:%2 %3")
        .arg(h12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
}

void TSetTimeDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TSetTimeDialog::FormActivate()
{
    m_hour = m_time.hour();
    m_minute = m_time.minute();
    // Shown from the start, so the user sees what an Ok without a click keeps.
    timeChanged();
}

void TSetTimeDialog::hourClick(int tag)
{
    m_hour = tag;
    timeChanged();
}

void TSetTimeDialog::minuteClick(int tag)
{
    m_minute = tag;
    timeChanged();
}

void TSetTimeDialog::timeChanged()
{
    m_time = QTime(m_hour, m_minute);
    setWindowTitle(QStringLiteral("Set Time As: ") + formatTime(m_time));
    for (int i = 0; i < 24; ++i)
        paintButton(m_hours[size_t(i)], i == m_hour);
    for (int i = 0; i < 60; ++i)
        paintButton(m_minutes[size_t(i)], i == m_minute);
}

void TSetTimeDialog::paintButton(QPushButton* b, bool selected)
{
    const QColor c = selected ? QColor(kYellow) : b->property(kBaseColor).value<QColor>();
    QPalette pal = b->palette();
    if (pal.color(QPalette::Button) == c)
        return;
    pal.setColor(QPalette::Button, c);
    b->setPalette(pal);
}
