#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

// Every question the program asks the user goes through the Prompter, so tests can
// answer them without a modal dialog ever blocking.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual void information(const QString& text, const QString& caption) = 0;
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    virtual void warning(const QString& text, const QString& caption) = 0;
    virtual void error(const QString& text, const QString& caption) = 0;

    // File dialogs return an empty string when cancelled. filter uses Qt's syntax
    // ("Calendar files (*.OVF *.ovf);;All files (*)").
    virtual QString openFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                                 const QString& filter) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial, const QString& title) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial, const QString& title) = 0;
    // Runs one of the program's own modal dialogs and returns its result code
    // (QDialog::Accepted or Rejected). Tests fill in the dialog instead of showing it.
    virtual int execDialog(QDialog& dialog) = 0;
};

// The program-wide prompter: the Qt one unless a test installed another.
Prompter& prompter();
// Takes ownership; returns the previous one. Passing nullptr restores the Qt prompter.
std::unique_ptr<Prompter> setPrompter(std::unique_ptr<Prompter> p);

// Shows real dialogs parented to the active window.
class QtPrompter : public Prompter {
public:
    void information(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void warning(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                         const QString& filter) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    std::optional<QFont> chooseFont(const QFont& initial, const QString& title) override;
    int execDialog(QDialog& dialog) override;
};

// Test double: records every prompt and answers from queues. A question with no
// queued answer gets the default (No, cancel) and is still recorded.
class ScriptedPrompter : public Prompter {
public:
    struct Record {
        QString kind; // "information", "yesno", "warning", "error", "open", "save", "color", "font", "dialog"
        QString text; // message text, or dialog title (a dialog's window title)
        QString caption; // caption, or proposed file name / folder
        QString filter;
    };

    std::vector<Record> records;
    std::vector<bool> yesNoAnswers;
    std::vector<QString> fileAnswers;
    std::vector<std::optional<QColor>> colorAnswers;
    std::vector<std::optional<QFont>> fontAnswers;
    // Each answers one execDialog: it may fill in the dialog's controls and returns the
    // result code. Without one the dialog counts as cancelled.
    std::vector<std::function<int(QDialog&)>> dialogAnswers;

    void information(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void warning(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                         const QString& filter) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    std::optional<QFont> chooseFont(const QFont& initial, const QString& title) override;
    int execDialog(QDialog& dialog) override;

    // Texts of the recorded prompts of one kind, in order.
    QStringList texts(const QString& kind = {}) const;
    void clear() { records.clear(); }
};

// Installs a ScriptedPrompter for the lifetime of the guard.
class ScopedScriptedPrompter {
public:
    ScopedScriptedPrompter();
    ~ScopedScriptedPrompter();
    ScriptedPrompter* operator->() { return m_p; }
    ScriptedPrompter& operator*() { return *m_p; }

private:
    ScriptedPrompter* m_p;
    std::unique_ptr<Prompter> m_previous;
};
