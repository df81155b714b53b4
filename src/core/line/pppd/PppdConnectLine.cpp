#include "line/pppd/PppdConnectLine.h"

#include <algorithm>

#include <QFileInfo>

namespace {

// Characters that make /bin/sh do more than split words.
bool IsShellSpecial(QChar c)
{
    return QStringView(u"|&;<>()$`\n").contains(c);
}

struct ChatCall
{
    QStringList head;    // ["exec"] and the program
    QStringList options; // without any -T
    QStringList script;
    std::optional<QString> number;
    bool verbose = false;
    bool toStderr = false;
};

std::optional<ChatCall> ParseChat(const QString &command)
{
    const auto words = PppdConnectLine::ShellWords(command);
    if (!words || words->isEmpty())
        return std::nullopt;
    ChatCall call;
    qsizetype i = 0;
    if (words->at(0) == u"exec")
        call.head << words->at(i++);
    if (i >= words->size() || QFileInfo(words->at(i)).fileName() != u"chat")
        return std::nullopt;
    call.head << words->at(i++);

    // chat's options: clusters of flags, and t/T/U/r/f taking the rest of the word or the next one.
    for (; i < words->size(); ++i) {
        const QString &word = words->at(i);
        if (word.size() < 2 || !word.startsWith(u'-'))
            break;
        QString kept = QStringLiteral("-");
        for (qsizetype k = 1; k < word.size(); ++k) {
            const QChar c = word.at(k);
            if (QStringView(u"tTUrf").contains(c)) {
                QString value = word.mid(k + 1);
                if (value.isEmpty() && i + 1 < words->size())
                    value = words->at(++i);
                if (c == u'T') {
                    call.number = value;
                } else {
                    if (kept.size() > 1)
                        call.options << kept;
                    call.options << QStringLiteral("-") + c << value;
                    kept = QStringLiteral("-");
                }
                break;
            }
            call.verbose = call.verbose || c == u'v';
            call.toStderr = call.toStderr || c == u's';
            kept += c;
        }
        if (kept.size() > 1)
            call.options << kept;
    }
    call.script = words->mid(i);
    return call;
}

} // namespace

namespace PppdConnectLine {

std::optional<QStringList> ShellWords(const QString &command)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (c == u' ' || c == u'\t') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
            continue;
        }
        if (c == u'#' && !inWord)
            return std::nullopt; // a comment: not a line we would rebuild faithfully
        if (IsShellSpecial(c))
            return std::nullopt;
        inWord = true;
        if (c == u'\'') {
            const qsizetype end = command.indexOf(u'\'', i + 1);
            if (end < 0)
                return std::nullopt;
            word += command.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == u'"') {
            for (++i;; ++i) {
                if (i >= command.size())
                    return std::nullopt;
                const QChar d = command.at(i);
                if (d == u'"')
                    break;
                if (d == u'$' || d == u'`')
                    return std::nullopt;
                if (d == u'\\' && i + 1 < command.size() && QStringView(u"\\\"$`").contains(command.at(i + 1)))
                    word += command.at(++i);
                else
                    word += d;
            }
        } else if (c == u'\\') {
            if (++i >= command.size())
                return std::nullopt;
            word += command.at(i);
        } else {
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QString ShellQuoted(const QString &word)
{
    static const QString plain =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_./:=+-@%,^");
    const bool bare =
        !word.isEmpty() && std::all_of(word.begin(), word.end(), [](QChar c) { return plain.contains(c); });
    if (bare)
        return word;
    QString quoted = word;
    quoted.replace(QLatin1String("'"), QLatin1String("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString JoinShellWords(const QStringList &words)
{
    QStringList quoted;
    quoted.reserve(words.size());
    for (const QString &word : words)
        quoted << ShellQuoted(word);
    return quoted.join(u' ');
}

std::optional<QString> ChatNumber(const QString &command)
{
    const auto call = ParseChat(command);
    if (!call)
        return std::nullopt;
    return call->number.value_or(QString());
}

std::optional<QString> WithNumber(const QString &command, const QString &number)
{
    const auto call = ParseChat(command);
    if (!call)
        return std::nullopt;
    QStringList words = call->head;
    if (!call->verbose)
        words << QStringLiteral("-v");
    if (!call->toStderr)
        words << QStringLiteral("-s");
    words << call->options << QStringLiteral("-T") << number << call->script;
    return JoinShellWords(words);
}

QString StandardCommand(const QString &chatPath, const QString &number)
{
    // REPORT CONNECT makes chat log the whole "CONNECT 33600" line: the speed follows the
    // word chat waits for, so the plain verbose log would stop before it.
    return JoinShellWords({chatPath,
                           QStringLiteral("-v"),
                           QStringLiteral("-s"),
                           QStringLiteral("-T"),
                           number,
                           QStringLiteral("ABORT"),
                           QStringLiteral("BUSY"),
                           QStringLiteral("ABORT"),
                           QStringLiteral("NO CARRIER"),
                           QStringLiteral("ABORT"),
                           QStringLiteral("NO DIALTONE"),
                           QStringLiteral("ABORT"),
                           QStringLiteral("NO DIAL TONE"),
                           QStringLiteral("ABORT"),
                           QStringLiteral("NO ANSWER"),
                           QStringLiteral("REPORT"),
                           QStringLiteral("CONNECT"),
                           QStringLiteral("TIMEOUT"),
                           QStringLiteral("60"),
                           QString(),
                           QStringLiteral("ATZ"),
                           QStringLiteral("OK"),
                           QStringLiteral("ATDT\\T"),
                           QStringLiteral("CONNECT"),
                           QString()});
}

} // namespace PppdConnectLine
