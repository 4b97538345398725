#pragma once
#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;
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
    // The save dialog of every command. A name chosen without an extension gets
    // defaultExtension ("OVF") before anything is written, and when the name so made
    // exists the user is asked whether to replace it (No shows the dialog again), so
    // no save dialog can overwrite a file without asking.
    QString saveFileName(const QString& title, const QString& folder, const QString& proposedName,
                         const QString& filter, const QString& defaultExtension);
    virtual std::optional<QColor> chooseColor(const QColor& initial, const QString& title) = 0;
    // The font dialog. color, when given, adds a colour list to the dialog and carries
    // the font's colour in and out (a QFont has none). A font as documents store it is
    // chosen through ChooseStoredFont (font_choice.h), which keeps its family name.
    virtual std::optional<QFont> chooseFont(const QFont& initial, const QString& title, QColor* color = nullptr) = 0;
    // The system print dialog on printer; the choices (printer, copies, paper) are left
    // in it. False when cancelled.
    virtual bool printDialog(QPrinter& printer, const QString& title) = 0;
    // Runs one of the program's own modal dialogs and returns its result code
    // (QDialog::Accepted or Rejected). Tests fill in the dialog instead of showing it.
    virtual int execDialog(QDialog& dialog) = 0;

protected:
    // The dialog itself: the chosen name as the user left it.
    virtual QString askSaveFileName(const QString& title, const QString& folder, const QString& proposedName,
                                    const QString& filter, const QString& defaultExtension) = 0;
};

// path, or path + "." + extension when path has no extension of its own.
QString WithDefaultExtension(const QString& path, const QString& extension);
// The question asked before a save dialog's choice replaces an existing file.
QString ReplaceFileQuestion(const QString& path);

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
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    // Opens on the face actually drawn for initial's family (its substitute when the
    // machine lacks it, so style and size survive) and shows initial's family name.
    std::optional<QFont> chooseFont(const QFont& initial, const QString& title, QColor* color = nullptr) override;
    bool printDialog(QPrinter& printer, const QString& title) override;
    int execDialog(QDialog& dialog) override;

protected:
    QString askSaveFileName(const QString& title, const QString& folder, const QString& proposedName,
                            const QString& filter, const QString& defaultExtension) override;
};

// Test double: records every prompt and answers from queues. A question with no
// queued answer gets the default (No, cancel) and is still recorded.
class ScriptedPrompter : public Prompter {
public:
    struct Record {
        QString kind; // "information", "yesno", "warning", "error", "open", "save", "color", "font", "dialog",
                      // "print"
        QString text; // message text, or dialog title (a dialog's window title)
        QString caption; // caption, proposed file name / folder, or the font's family
        QString filter; // file filter; the save dialog's default extension follows after "|"
    };

    std::vector<Record> records;
    std::vector<bool> yesNoAnswers;
    std::vector<QString> fileAnswers;
    std::vector<std::optional<QColor>> colorAnswers;
    std::vector<std::optional<QFont>> fontAnswers;
    // What the user picks in a print dialog; an unset answer cancels it.
    struct PrintChoice {
        int copies = 1;
        QString printerName; // empty: keep the printer
    };
    std::vector<std::optional<PrintChoice>> printAnswers;
    // Each answers one execDialog: it may fill in the dialog's controls and returns the
    // result code. Without one the dialog counts as cancelled.
    std::vector<std::function<int(QDialog&)>> dialogAnswers;
    // The colours a font dialog with a colour list answers, in order (none: unchanged).
    std::vector<QColor> fontColorAnswers;
    // The initial fonts the font dialogs were opened with.
    std::vector<QFont> fontsShown;

    void information(const QString& text, const QString& caption) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void warning(const QString& text, const QString& caption) override;
    void error(const QString& text, const QString& caption) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    std::optional<QColor> chooseColor(const QColor& initial, const QString& title) override;
    std::optional<QFont> chooseFont(const QFont& initial, const QString& title, QColor* color = nullptr) override;
    bool printDialog(QPrinter& printer, const QString& title) override;
    int execDialog(QDialog& dialog) override;

    // Texts of the recorded prompts of one kind, in order.
    QStringList texts(const QString& kind = {}) const;
    void clear() { records.clear(); }

protected:
    QString askSaveFileName(const QString& title, const QString& folder, const QString& proposedName,
                            const QString& filter, const QString& defaultExtension) override;
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
