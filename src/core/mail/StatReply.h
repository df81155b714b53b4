#pragma once

#include <QString>

// The count of messages in a STAT reply ("+OK 3 1200" gives "3"): the characters from the
// fifth one up to, not including, the first blank from there on. Without such a blank
// the count is empty.
QString StatCountText(const QString &reply);

// The count read as a number, the way the announcement decides on it: an optional sign
// and the digits that follow, 0 when there are none; huge counts stop at a large value
// instead of wrapping.
qint64 StatCountValue(const QString &count);
