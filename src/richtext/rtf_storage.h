#pragma once
#include <QByteArray>

// The rich text of one day cell or rich-text label, held as the RTF bytes our writer
// produces. An empty storage holds no bytes.
class TWPRtfStorage {
public:
    TWPRtfStorage() = default;
    explicit TWPRtfStorage(QByteArray rtf) : m_rtf(std::move(rtf)) {}

    const QByteArray& rtf() const { return m_rtf; }
    void setRtf(const QByteArray& rtf) { m_rtf = rtf; }

    // Empty when it holds no bytes or its RTF carries no picture and no text other
    // than blanks, tabs and line or paragraph breaks.
    bool isEmpty() const;
    void clear() { m_rtf.clear(); }
    void assign(const TWPRtfStorage& other) { m_rtf = other.m_rtf; }

    bool operator==(const TWPRtfStorage& other) const { return m_rtf == other.m_rtf; }
    bool operator!=(const TWPRtfStorage& other) const { return !(*this == other); }

private:
    QByteArray m_rtf;
};
