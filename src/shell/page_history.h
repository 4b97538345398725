#pragma once
#include "shell/page_state.h"

#include <QObject>
#include <QUndoStack>

class TCalendarPanel32;

// The page's undo history. Every change the user makes is one step holding the page's
// state before and after it (PageState), so any kind of change, and any class of
// placed object, is taken back byte for byte without code of its own.
//
// Changes reach it two ways. The main window's commands open a step around their work
// (PageStep). Object changes are reported by the panel's signals and become a step once
// the input that caused them has been handled; what one input does (a drag, a paste, a
// menu item with its dialog) is one step even when it lets pending events run halfway.
class PageHistory : public QObject {
    Q_OBJECT
public:
    static constexpr int kUndoLimit = 100;

    explicit PageHistory(TCalendarPanel32& page, QObject* parent = nullptr);
    ~PageHistory() override;

    QUndoStack* stack() { return &m_stack; }

    // A command's change: the outermost step records the page before and after it.
    void beginStep(const QString& name);
    void endStep();

    // Records object changes reported since the last step (normally runs queued).
    void commitPending();
    // A new user input begins: what it changes is a step of its own.
    void seal();
    // The name for the next object step, when the input said what it was ("Cut").
    void setNameHint(const QString& name);

    void undo();
    void redo();
    // Forgets every step; the page as it is now is where the history starts. A saved
    // (or opened) page is clean; a new one is not, whatever is undone.
    void clear(bool saved);
    // The page as it is now is the one on disk.
    void markSaved();
    // Takes the page's state again after it changed without being a step (a zoom).
    void rebase();
    // Distinct bytes held by all steps (shared blocks counted once).
    qsizetype bytesHeld() const;

    // Used by the steps.
    void restore(const PageState& state);

private:
    void objectChange(const QString& derivedName);
    void push(PageState before, PageState after, const QString& name, int generation);

    TCalendarPanel32& m_page;
    QUndoStack m_stack;
    PageState m_current;
    PageState m_before;
    QString m_stepName;
    int m_depth = 0;
    bool m_pending = false;
    bool m_scheduled = false;
    bool m_restoring = false;
    QString m_pendingName;
    QString m_hint;
    int m_generation = 0;
};

// Opens a step for the length of a scope.
class PageStep {
public:
    PageStep(PageHistory* history, const QString& name) : m_history(history)
    {
        if (m_history)
            m_history->beginStep(name);
    }
    ~PageStep()
    {
        if (m_history)
            m_history->endStep();
    }
    PageStep(const PageStep&) = delete;
    PageStep& operator=(const PageStep&) = delete;

private:
    PageHistory* m_history;
};
