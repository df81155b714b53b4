#include "line/LineSelection.h"

#include "line/SimulatedLine.h"
#include "platform/DataLocations.h"
#include "platform/Logging.h"

std::unique_ptr<RemoteAccess> CreateRemoteAccess(const QString &choice, const DataLocations &locations,
                                                 const Clock &clock, const PppdConfig &pppd)
{
    const QString wanted = choice.trimmed().toLower();
    if (wanted == QLatin1String("pppd"))
        return std::make_unique<PppdLine>(pppd);
    if (wanted != QLatin1String("simulated")) {
        if (!wanted.isEmpty() && wanted != QLatin1String("auto"))
            qCWarning(lcLine) << "LINEMINDER_LINE" << choice << "is not simulated, pppd or auto; using auto";
        auto real = std::make_unique<PppdLine>(pppd);
        if (!real->RasEnumEntries().isEmpty())
            return real;
    }
    return std::make_unique<SimulatedLine>(locations.simulatedPhonebook(), clock);
}
