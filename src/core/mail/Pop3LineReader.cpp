#include "mail/Pop3LineReader.h"

void Pop3LineReader::append(const QByteArray &bytes)
{
    if (m_overlong)
        return;
    m_buffer.append(bytes);
    checkHead();
}

void Pop3LineReader::clear()
{
    m_buffer.clear();
    m_overlong = false;
}

std::optional<QByteArray> Pop3LineReader::takeLine()
{
    const qsizetype end = m_buffer.indexOf('\n');
    if (m_overlong || end < 0)
        return std::nullopt;
    QByteArray line = m_buffer.left(end);
    m_buffer.remove(0, end + 1);
    checkHead();
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

void Pop3LineReader::checkHead()
{
    // The first line is too long once it has its end beyond the limit, or no end yet
    // but more bytes than the limit: it can only get longer.
    const qsizetype end = m_buffer.indexOf('\n');
    if (end >= kMaxLine || (end < 0 && m_buffer.size() > kMaxLine)) {
        m_overlong = true;
        m_buffer.clear();
    }
}
