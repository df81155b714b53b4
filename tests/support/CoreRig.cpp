#include "support/CoreRig.h"

namespace {
QString writePhonebook(const TempHome &home, const QString &text)
{
    if (!text.isNull())
        home.writeFile("simulated-phonebook.ini", text.toUtf8());
    return home.locations().simulatedPhonebook();
}
} // namespace

CoreRig::CoreRig(const QString &phonebook, const QDateTime &start)
    : clock(start), core(home.locations(), std::make_unique<SimulatedLine>(writePhonebook(home, phonebook), clock),
                         AppSeams{clock, scheduler, prompter, sound, launcher}, DateTimeFormats())
{
}
