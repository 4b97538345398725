#pragma once
#include <QObject>
#include <QPointer>
#include <QStringList>

class TAssistantTipForm;

// The quick-tips component of the main window: topic titles with their answers, and
// the floating tips window it shows them in.
class TAssistantTip : public QObject {
    Q_OBJECT
public:
    explicit TAssistantTip(QObject* parent = nullptr);
    ~TAssistantTip() override;

    QString Caption = QStringLiteral("Quick Tips");
    QStringList Titles;
    QStringList Answers; // parallel to Titles

    // The stored form of the lists: the number of topics less one, the titles, then the
    // answers. A list that does not hold that shape is refused (false) and nothing changes.
    bool SetTopics(const QStringList& stored);
    QStringList Topics() const;

    // Creates the window on first use, gives it the topics from page 1, places it at
    // the right edge of the owner window and shows it (not modal).
    void Show(QWidget* ownerWindow);
    TAssistantTipForm* Form() const;

private:
    QPointer<TAssistantTipForm> m_form;
};

// The main window's twelve topics in their stored form.
QStringList MainWindowQuickTips();
