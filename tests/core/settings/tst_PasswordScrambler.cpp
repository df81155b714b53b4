#include "settings/PasswordScrambler.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <QTest>

class TestPasswordScrambler : public QObject
{
    Q_OBJECT

private slots:
    void scramblesWithKeyFromSecondCharacter_data()
    {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("scrambled");
        // Key "5827": characters used are '8','2','7','5','8',... (codes 56, 50, 55, 53).
        QTest::newRow("abcde") << QByteArray("abcde") << QByteArray("5827")
                               << QByteArray("\x99\x94\x9A\x99\x9D");
        QTest::newRow("wraps past 255") << QByteArray("\xF0\xFF") << QByteArray("5827") << QByteArray("\x28\x31");
        QTest::newRow("lower-case key = upper-case key") << QByteArray("a") << QByteArray("ab")
                                                         << QByteArray(1, char('a' + 'B'));
        QTest::newRow("empty key leaves text") << QByteArray("secret") << QByteArray() << QByteArray("secret");
        QTest::newRow("empty text") << QByteArray() << QByteArray("5827") << QByteArray();
        QTest::newRow("gives NUL") << QByteArray(1, char(256 - 56)) << QByteArray("5827") << QByteArray(1, '\0');
    }
    void scramblesWithKeyFromSecondCharacter()
    {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, scrambled);
        QCOMPARE(EncryptPassword(plain, key), scrambled);
        QCOMPARE(DecryptPassword(scrambled, key), plain);
    }

    void everyByteRoundTripsThroughTheStore()
    {
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all.append(char(255 - i));
        QTemporaryDir dir;
        SettingsStore store(dir.filePath("s.db"));
        store.SaveSettingBytes("Providers \\P", "Password", EncryptPassword(all, kPasswordKey));
        QCOMPARE(DecryptPassword(store.GetSettingBytes("Providers \\P", "Password"), kPasswordKey), all);
    }
};

QTEST_GUILESS_MAIN(TestPasswordScrambler)
#include "tst_PasswordScrambler.moc"
