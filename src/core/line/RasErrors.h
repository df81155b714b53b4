#pragma once

#include <QString>

#include <optional>

// Plain-language words for the line's error codes (600 and above), shared by every
// backend. Nothing for a code we have no words for.
std::optional<QString> RasErrorMessage(quint32 error);
