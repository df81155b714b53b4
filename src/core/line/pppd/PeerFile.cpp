#include "line/pppd/PeerFile.h"

#include <algorithm>

#include <QFile>

#include "platform/TextFiles.h"

namespace {

bool IsDeviceWord(const QString &word)
{
    return word.startsWith(QLatin1String("/dev/")) && word.size() > 5;
}

bool IsSpeedWord(const QString &word)
{
    return !word.isEmpty() && word.size() <= 8 &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
}

// A line that names the device and/or the speed, and nothing else ("/dev/ttyS0 115200").
bool IsDeviceSpeedLine(const QStringList &words)
{
    return !words.isEmpty() && words.size() <= 2 &&
           std::all_of(words.begin(), words.end(), [](const QString &w) { return IsDeviceWord(w) || IsSpeedWord(w); });
}

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool IsOption(const QStringList &words, QLatin1String name)
{
    return words.size() == 2 && words.at(0) == name;
}

// Whether a physical line leaves a quote open or ends in an escaping backslash, so that
// pppd goes on reading the word on the next line.
bool ContinuesOnNextLine(QStringView text)
{
    QChar quote;
    bool escape = false;
    bool comment = false;
    for (const QChar c : text) {
        if (comment)
            continue;
        if (escape) {
            escape = false;
            continue;
        }
        if (c == u'\\') {
            escape = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'#') {
            comment = true;
        }
    }
    return escape || !quote.isNull();
}

} // namespace

PeerFile PeerFile::Parse(const QByteArray &bytes)
{
    PeerFile file;
    QString pending;
    bool continuing = false;
    // Lines keep their CR: pppd reads it as a blank between words, but inside a quoted word
    // that runs over lines it is part of the word.
    const QStringList physical = QString::fromUtf8(bytes).split(u'\n');
    file.m_crLf = physical.size() > 1 && physical.front().endsWith(u'\r');
    for (qsizetype i = 0; i < physical.size(); ++i) {
        const QString &line = physical.at(i);
        if (i == physical.size() - 1 && line.isEmpty() && !continuing)
            break; // the file's final line end
        pending = continuing ? pending + u'\n' + line : line;
        continuing = ContinuesOnNextLine(pending);
        if (!continuing)
            file.m_lines << pending;
    }
    if (continuing)
        file.m_lines << pending;
    file.m_endsInOpenWord = continuing;
    return file;
}

std::optional<PeerFile> PeerFile::Read(const QString &path, QString *error)
{
    QFile file(path);
    if (!TextFiles::OpenRegular(file, QIODevice::ReadOnly, error))
        return std::nullopt;
    // pppd reads words of at most 1024 bytes; a peer file far beyond a few kB is not one.
    const QByteArray bytes = file.read(qint64{256} * 1024);
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return Parse(bytes);
}

QByteArray PeerFile::toBytes() const
{
    QByteArray bytes;
    for (const QString &line : m_lines)
        bytes += line.toUtf8() + '\n';
    return bytes;
}

bool PeerFile::write(const QString &path, QFileDevice::Permissions permissions, QString *error) const
{
    return TextFiles::ReplaceBytes(path, toBytes(), permissions, error);
}

QString PeerFile::device() const
{
    QString device;
    for (const QString &line : m_lines) {
        const QStringList words = Words(line);
        if (IsDeviceSpeedLine(words)) {
            for (const QString &word : words) {
                if (IsDeviceWord(word))
                    device = word; // pppd keeps the last one
            }
        }
    }
    return device;
}

int PeerFile::speed() const
{
    int speed = 0;
    for (const QString &line : m_lines) {
        const QStringList words = Words(line);
        if (IsDeviceSpeedLine(words)) {
            for (const QString &word : words) {
                if (IsSpeedWord(word))
                    speed = word.toInt();
            }
        }
    }
    return speed;
}

QString PeerFile::user() const
{
    const auto line = lastLine([](const QStringList &words) { return IsOption(words, QLatin1String("user")); });
    return line ? line->at(1) : QString();
}

std::optional<QString> PeerFile::connectCommand() const
{
    const auto line = lastLine([](const QStringList &words) { return IsOption(words, QLatin1String("connect")); });
    if (!line)
        return std::nullopt;
    return line->at(1);
}

bool PeerFile::loadsPlugin(QStringView fileName) const
{
    return std::any_of(m_lines.begin(), m_lines.end(), [fileName](const QString &line) {
        const QStringList words = Words(line);
        return IsOption(words, QLatin1String("plugin")) &&
               (words.at(1) == fileName || words.at(1).endsWith(u'/' + fileName.toString()));
    });
}

void PeerFile::setDevice(const QString &device)
{
    splitDeviceSpeedLines();
    replaceLines([](const QStringList &words) { return words.size() == 1 && IsDeviceWord(words.at(0)); },
                 device.isEmpty() ? QString() : Written(device));
}

void PeerFile::setSpeed(int speed)
{
    splitDeviceSpeedLines();
    replaceLines([](const QStringList &words) { return words.size() == 1 && IsSpeedWord(words.at(0)); },
                 speed > 0 ? QString::number(speed) : QString());
}

void PeerFile::setUser(const QString &user)
{
    replaceLines([](const QStringList &words) { return IsOption(words, QLatin1String("user")); },
                 user.isEmpty() ? QString() : QStringLiteral("user ") + Quoted(user));
}

void PeerFile::setConnectCommand(const QString &command)
{
    replaceLines([](const QStringList &words) { return IsOption(words, QLatin1String("connect")); },
                 QStringLiteral("connect ") + Quoted(command));
}

void PeerFile::appendLine(const QString &line)
{
    m_lines << ownLine(line);
}

QString PeerFile::ownLine(const QString &line) const
{
    return m_crLf ? line + u'\r' : line;
}

std::optional<QStringList> PeerFile::lastLine(const LineTest &test) const
{
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) { // the last such line wins, as in pppd
        QStringList words = Words(m_lines.at(i));
        if (test(words))
            return words;
    }
    return std::nullopt;
}

void PeerFile::replaceLines(const LineTest &test, const QString &line)
{
    bool placed = line.isEmpty();
    for (qsizetype i = 0; i < m_lines.size();) {
        if (!test(Words(m_lines.at(i)))) {
            ++i;
        } else if (!placed) {
            m_lines[i++] = ownLine(line);
            placed = true;
        } else {
            m_lines.removeAt(i);
        }
    }
    if (!placed)
        m_lines << ownLine(line);
}

void PeerFile::splitDeviceSpeedLines()
{
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QStringList words = Words(m_lines.at(i));
        if (IsDeviceSpeedLine(words) && words.size() == 2) {
            // Written back as pppd must read them: a quoted "/dev/my modem" written bare
            // would become the device "/dev/my" and the option "modem".
            m_lines[i] = ownLine(Written(words.at(0)));
            m_lines.insert(i + 1, ownLine(Written(words.at(1))));
        }
    }
}

QStringList PeerFile::Words(QStringView line)
{
    auto isOctal = [](QChar c) { return c >= u'0' && c <= u'7'; };
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        // Blanks and comments before a word; backslash-newline is nothing.
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == u'#') {
            while (i < n && line.at(i) != u'\n')
                ++i;
            continue;
        }
        if (c == u'\\' && i + 1 < n && line.at(i + 1) == u'\n') {
            i += 2;
            continue;
        }
        QString word;
        QChar quote;
        while (i < n) {
            const QChar d = line.at(i);
            if (d == u'\\') {
                if (++i >= n)
                    break;
                const QChar e = line.at(i);
                if (e == u'\n') {
                    ++i;
                    continue;
                }
                if (isOctal(e)) {
                    int value = 0;
                    for (int k = 0; k < 3 && i < n && isOctal(line.at(i)); ++k, ++i)
                        value = value * 8 + (line.at(i).unicode() - '0');
                    word += QChar(value);
                    continue;
                }
                if (e == u'x') {
                    int value = 0;
                    ++i;
                    for (int k = 0; k < 2 && i < n && HexDigit(line.at(i)) >= 0; ++k, ++i)
                        value = value * 16 + HexDigit(line.at(i));
                    word += QChar(value);
                    continue;
                }
                static const QString from = QStringLiteral("abfnrst");
                static const QString to = QStringLiteral("\a\b\f\n\r \t");
                const qsizetype k = from.indexOf(e);
                word += k >= 0 ? to.at(k) : e;
                ++i;
                continue;
            }
            if (!quote.isNull()) {
                if (d == quote)
                    quote = QChar();
                else
                    word += d;
                ++i;
                continue;
            }
            if (d == u'"' || d == u'\'') {
                quote = d;
                ++i;
                continue;
            }
            if (d.isSpace() || d == u'#')
                break;
            word += d;
            ++i;
        }
        words << word;
    }
    return words;
}

QString PeerFile::Written(const QString &word)
{
    const bool plain = !word.isEmpty() && std::none_of(word.begin(), word.end(), [](QChar c) {
        return c.isSpace() || !c.isPrint() || c == u'"' || c == u'\'' || c == u'\\' || c == u'#';
    });
    return plain ? word : Quoted(word);
}

QString PeerFile::Quoted(const QString &word)
{
    QString escaped = word;
    escaped.replace(u'\\', QLatin1String("\\\\"));
    escaped.replace(u'"', QLatin1String("\\\""));
    return u'"' + escaped + u'"';
}
