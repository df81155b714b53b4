#pragma once

#include "values/Money.h"

class SettingsStore;

// The general settings that price a call: read when a call's charges start and when it
// ends, so a changed fee or minimum charge takes effect without reloading the provider.
struct ChargeSettings
{
    bool addFee = false;        // AddCost
    Money fee;                  // AddCostTxt / 100, in currency units
    bool addTime = false;       // AddTime
    quint32 addSeconds = 0;     // AddTimeTxT; negative or not a number counts as 0
    bool minimumCharge = false; // AddMinCharge
    Money minimum;              // AddMinChargeTxT / 100

    static ChargeSettings read(const SettingsStore &store);
};
