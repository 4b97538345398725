#pragma once

// Sets a flag for the lifetime of the guard and gives it back its previous value on
// every way out (PaintSuspended, Loading, Printing and the like).
class ScopeFlag {
public:
    explicit ScopeFlag(bool& flag, bool value = true) : m_flag(flag), m_previous(flag) { m_flag = value; }
    ~ScopeFlag() { m_flag = m_previous; }
    ScopeFlag(const ScopeFlag&) = delete;
    ScopeFlag& operator=(const ScopeFlag&) = delete;

private:
    bool& m_flag;
    bool m_previous;
};
