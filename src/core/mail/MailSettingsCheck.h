#pragma once

#include <QString>

#include <optional>

class Prompter;
class ProviderProfile;

// The message that tells the user what keeps the mail settings from being used, or
// nothing when a check can run with them. Whatever goes into a POP3 command line must
// not be able to end that line early, so CR, LF and NUL are refused.
std::optional<QString> MailSettingsProblem(const ProviderProfile &profile);

// CheckMailSettings: false without a word when chkEMail is off; otherwise false after
// showing the first problem (exclamation icon), true when there is none.
bool CheckMailSettings(const ProviderProfile &profile, Prompter &prompter);
