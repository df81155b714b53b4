#pragma once

#include <QByteArray>

// Keeps a stored dial-up password from being readable at a glance; not encryption.
// Works on bytes: every code 0-255 may appear in the scrambled form.
inline const QByteArray kPasswordKey = QByteArrayLiteral("5827");

QByteArray EncryptPassword(const QByteArray &text, QByteArray key);
QByteArray DecryptPassword(const QByteArray &text, QByteArray key);
