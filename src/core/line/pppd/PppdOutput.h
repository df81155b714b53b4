#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What one line of pppd's log (with chat's reports mixed in through pppd's log descriptor)
// tells about the call. pppd is started with nodetach, so its log goes to its stdout; the
// connect script's stderr is a copy of that descriptor, so chat -v -s reports there too.
struct PppdEvent
{
    int state = -1;              // the RasState the call has reached, -1 when the line says nothing about it
    quint32 error = 0;           // a RasError when the line reports a failure
    std::optional<qint64> speed; // the modem's CONNECT speed
    QString interface;           // "ppp0" once pppd names the link's interface

    bool isEmpty() const { return state < 0 && error == 0 && !speed && interface.isEmpty(); }
};

namespace PppdOutput {

PppdEvent ParseLine(QStringView line);

// The error behind pppd's exit status (pppd(8), EXIT STATUS). Used when no line has
// already named a more precise cause.
quint32 ErrorForExit(int exitCode);

} // namespace PppdOutput
