#include "rtf_storage.h"

#include "rtf_reader.h"

bool TWPRtfStorage::isEmpty() const
{
    // The reader's content test stops at the first visible character or picture, so a
    // storage full of text answers at once; only text-free storages are read through.
    return m_rtf.isEmpty() || !RtfHasContent(m_rtf);
}
