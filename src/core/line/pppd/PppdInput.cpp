#include "line/pppd/PppdInput.h"

#include <algorithm>
#include <array>

#include <QCoreApplication>
#include <QRegularExpression>

#include "line/pppd/PeerFile.h"
#include "line/pppd/PppdConnectLine.h"

namespace {

// The messages keep the translation context of the line that shows them.
struct Texts
{
    Q_DECLARE_TR_FUNCTIONS(PppdLine)
};

// Names this program gives new files: plain, and never hidden from RasEnumEntries.
bool IsSafeEntryName(const QString &name)
{
    static const QRegularExpression safe(QStringLiteral(R"(^[A-Za-z0-9_-][A-Za-z0-9._-]*\z)"));
    return safe.match(name).hasMatch() && PppdInput::IsPeerName(name) && name.size() <= PppdInput::Limits.entry;
}

// \z, not $: PCRE's $ also matches before a final line break.
bool IsPhoneNumber(const QString &number)
{
    static const QRegularExpression allowed(QStringLiteral(R"(^[0-9 +*#,()\-.wWpPtT]*[0-9][0-9 +*#,()\-.wWpPtT]*\z)"));
    return allowed.match(number).hasMatch();
}

bool HasLineBreakOrNul(QByteArrayView text)
{
    return text.contains('\r') || text.contains('\n') || text.contains('\0');
}

// Values written into a peer file between quotes.
bool IsPlainValue(const QString &value)
{
    return std::none_of(value.begin(), value.end(), [](QChar c) {
        return c == u'"' || c == u'\'' || c == u'\\' || c.category() == QChar::Other_Control;
    });
}

bool IsDevice(const QString &device)
{
    static const QRegularExpression path(QStringLiteral(R"(^/dev/[A-Za-z0-9_.-]+(/[A-Za-z0-9_.-]+)*\z)"));
    return path.match(device).hasMatch() && !device.contains(QLatin1String("/.."));
}

bool IsSerialSpeed(int speed)
{
    static constexpr std::array speeds{300,     600,     1200,    2400,    4800,    9600,    19200,  38400,
                                       57600,   115200,  230400,  460800,  500000,  576000,  921600, 1000000,
                                       1152000, 1500000, 2000000, 2500000, 3000000, 3500000, 4000000};
    return std::find(speeds.begin(), speeds.end(), speed) != speeds.end();
}

DialResult Refusal(quint32 error, const QString &text)
{
    return DialResult{0, error, text};
}

} // namespace

namespace PppdInput {

bool IsPeerName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.endsWith(u'~') ||
        name.endsWith(QLatin1String(".bak")) || name.contains(QLatin1String(".dpkg-")) ||
        name.contains(QLatin1String(".ucf-")))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

QString InQuotes(const QString &text)
{
    return QStringLiteral("\u201C%1\u201D").arg(text);
}

std::optional<DialResult> EntryNameRefusal(const QString &entry)
{
    if (entry.toUtf8().size() > Limits.entry || !IsPeerName(entry))
        return Refusal(RasError::CannotFindEntry,
                       Texts::tr("%1 is not a valid name for a dial-up entry.").arg(InQuotes(entry)));
    return std::nullopt;
}

std::optional<DialResult> LoginRefusal(const DialParams &params)
{
    if (!params.phoneNumber.isEmpty()) {
        if (params.phoneNumber.toUtf8().size() > Limits.phoneNumber)
            return Refusal(RasError::NotSupported,
                           Texts::tr("The phone number is longer than %1 characters.").arg(Limits.phoneNumber));
        if (!IsPhoneNumber(params.phoneNumber))
            return Refusal(RasError::NotSupported,
                           Texts::tr("The phone number %1 may hold only digits, blanks and + * # , ( ) - . W P T.")
                               .arg(InQuotes(params.phoneNumber)));
    }
    if (params.userName.toUtf8().size() > Limits.userName)
        return Refusal(RasError::NotSupported,
                       Texts::tr("The user name is longer than %1 bytes.").arg(Limits.userName));
    if (HasLineBreakOrNul(params.userName.toUtf8()))
        return Refusal(RasError::NotSupported, Texts::tr("The user name must not contain line breaks."));
    if (params.password.size() > Limits.password)
        return Refusal(RasError::NotSupported, Texts::tr("The password is longer than %1 bytes.").arg(Limits.password));
    if (HasLineBreakOrNul(params.password))
        return Refusal(RasError::NotSupported, Texts::tr("The password must not contain line breaks."));
    return std::nullopt;
}

std::variant<QStringList, DialResult> DialArguments(const DialParams &params, const PeerFile &peer)
{
    // Options after "call" override the peer file's. nodetach keeps pppd our child and its
    // log on stdout (logfd 1 even if the file says logfile/nolog); the connect script's
    // stderr is that descriptor too. nopersist: redialing is the program's decision, and a
    // pppd redialing on its own would make calls nobody sees.
    QStringList arguments{QStringLiteral("call"),  params.entry,        QStringLiteral("nodetach"),
                          QStringLiteral("logfd"), QStringLiteral("1"), QStringLiteral("nopersist")};
    if (!params.phoneNumber.isEmpty()) {
        const auto command = peer.connectCommand();
        const auto number = command ? PppdConnectLine::ChatNumber(*command) : std::nullopt;
        if (!number)
            return Refusal(RasError::NotSupported,
                           Texts::tr("The entry %1 does not dial with chat, so it cannot dial another number. Dial "
                                     "it with its own number.")
                               .arg(InQuotes(params.entry)));
        // pppd lets only root override a connect line from /etc/ppp/peers: pass one only
        // when the number really differs.
        if (*number != params.phoneNumber)
            arguments << QStringLiteral("connect") << *PppdConnectLine::WithNumber(*command, params.phoneNumber);
    }
    if (!params.userName.isEmpty())
        arguments << QStringLiteral("user") << params.userName;
    if (!params.password.isEmpty() && !peer.loadsPlugin(PasswordPlugin))
        arguments << QStringLiteral("plugin") << PasswordPlugin; // loading a plugin needs root
    return arguments;
}

std::optional<QString> EntryRefusal(const PhonebookEntry &entry, bool create)
{
    if (!IsSafeEntryName(entry.name))
        return Texts::tr("%1 cannot be an entry name: use letters, digits, '.', '_' and '-' (not first '.'), at "
                         "most %2 characters.")
            .arg(InQuotes(entry.name))
            .arg(Limits.entry);
    if (create && entry.device.isEmpty())
        return Texts::tr("Choose the modem's device, for example /dev/ttyS0.");
    if (!entry.device.isEmpty() && !IsDevice(entry.device))
        return Texts::tr("%1 is not a device name such as /dev/ttyS0.").arg(InQuotes(entry.device));
    if (entry.speed != 0 && !IsSerialSpeed(entry.speed))
        return Texts::tr("%1 is not a serial speed Linux supports.").arg(entry.speed);
    if (create && entry.number.isEmpty())
        return Texts::tr("Enter the phone number to dial.");
    if (!entry.number.isEmpty() && (entry.number.size() > Limits.phoneNumber || !IsPhoneNumber(entry.number)))
        return Texts::tr("The phone number %1 may hold only digits, blanks and + * # , ( ) - . W P T (at most %2).")
            .arg(InQuotes(entry.number))
            .arg(Limits.phoneNumber);
    if (!IsPlainValue(entry.user) || entry.user.toUtf8().size() > Limits.userName)
        return Texts::tr("The user name must not contain quotes, backslashes or line breaks (at most %1 bytes).")
            .arg(Limits.userName);
    return std::nullopt;
}

} // namespace PppdInput
