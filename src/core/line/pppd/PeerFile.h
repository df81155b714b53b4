#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// A pppd options file from /etc/ppp/peers, kept as its lines so that an edit rewrites only
// the lines this program owns (device, speed, user, connect) and keeps everything else as
// the user wrote it. Words are read the way pppd reads them (quotes, backslash escapes, #).
class PeerFile
{
public:
    static PeerFile Parse(const QByteArray &bytes);
    // Nothing when the file cannot be read; the reason goes to *error.
    static std::optional<PeerFile> Read(const QString &path, QString *error = nullptr);

    // The file ends inside a quoted word (or right after a backslash): pppd would read a line
    // added after it as part of that word, so such a file is not edited.
    bool endsInOpenWord() const { return m_endsInOpenWord; }

    QByteArray toBytes() const;
    // Replaces the file atomically; readers see either the old or the new content.
    bool write(const QString &path, QFileDevice::Permissions permissions, QString *error) const;

    QString device() const;
    int speed() const; // 0 when the file sets none
    QString user() const;
    std::optional<QString> connectCommand() const;
    bool loadsPlugin(QStringView fileName) const;

    void setDevice(const QString &device);
    void setSpeed(int speed);
    void setUser(const QString &user); // empty: no user line
    void setConnectCommand(const QString &command);
    void appendLine(const QString &line);

    // pppd's words of one (logical) line of an options file.
    static QStringList Words(QStringView line);
    // A word written so that pppd reads it back unchanged.
    static QString Quoted(const QString &word);
    // The word as it is when pppd reads it so, otherwise quoted.
    static QString Written(const QString &word);

private:
    using LineTest = std::function<bool(const QStringList &words)>;
    std::optional<QStringList> lastLine(const LineTest &test) const;
    void replaceLines(const LineTest &test, const QString &line);
    void splitDeviceSpeedLines();
    QString ownLine(const QString &line) const; // a line this program writes, with the file's line end

    QStringList m_lines; // logical lines: a quoted word or a backslash may carry one over several
    bool m_crLf = false; // the file's lines end in CR LF
    bool m_endsInOpenWord = false;
};
