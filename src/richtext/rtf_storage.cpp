#include "rtf_storage.h"

bool TWPRtfStorage::isEmpty() const
{
    if (m_rtf.isEmpty())
        return true;
    // Quick structural test: anything besides control words, groups and blanks counts
    // as content. Destinations that never show ({\fonttbl ...}, {\colortbl ...},
    // {\*...}, {\info ...}, {\stylesheet ...}) are skipped.
    int depth = 0;
    int skipDepth = -1;
    const int n = int(m_rtf.size());
    for (int i = 0; i < n; ++i) {
        const char c = m_rtf[i];
        if (c == '{') {
            ++depth;
            if (skipDepth < 0 && i + 1 < n && m_rtf[i + 1] == '\\') {
                static const char* hidden[] = {"\\fonttbl", "\\colortbl", "\\*", "\\info", "\\stylesheet",
                                               "\\listtable", "\\listoverridetable", "\\generator"};
                for (const char* h : hidden)
                    if (m_rtf.mid(i + 1, int(qstrlen(h))) == h) {
                        skipDepth = depth;
                        break;
                    }
            }
        } else if (c == '}') {
            if (skipDepth == depth)
                skipDepth = -1;
            --depth;
        } else if (skipDepth >= 0) {
            continue;
        } else if (c == '\\') {
            if (i + 1 < n && (m_rtf[i + 1] == '\\' || m_rtf[i + 1] == '{' || m_rtf[i + 1] == '}'))
                return false; // an escaped literal character
            if (i + 1 < n && m_rtf[i + 1] == '\'')
                return false; // a hex-escaped character
            int j = i + 1;
            while (j < n && ((m_rtf[j] >= 'a' && m_rtf[j] <= 'z') || (m_rtf[j] >= 'A' && m_rtf[j] <= 'Z')))
                ++j;
            const QByteArray word = m_rtf.mid(i + 1, j - i - 1);
            if (word == "u" || word == "pict" || word == "tab")
                return false;
            while (j < n && (m_rtf[j] == '-' || (m_rtf[j] >= '0' && m_rtf[j] <= '9')))
                ++j;
            if (j < n && m_rtf[j] == ' ')
                ++j;
            i = j - 1;
        } else if (c != '\r' && c != '\n' && c != ' ' && c != '\t' && c != ';') {
            return false;
        }
    }
    return true;
}
