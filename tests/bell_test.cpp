#include "form/bell.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// The end-of-count bell must make a sound where no sound server runs: here
// ALSA's default device is a file, and the test listens to that file.
class BellTest : public QObject {
    Q_OBJECT

private slots:
    void bellIsPlayedThroughAlsaWithoutASoundServer()
    {
        QVERIFY(home_.isValid());
        QFile config(home_.filePath(".asoundrc"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("pcm.!default { type file slave.pcm \"null\" file \"%1\" format \"raw\" }\n")
                         .arg(soundFile())
                         .toUtf8());
        config.close();
        qputenv("HOME", home_.path().toUtf8());
        qputenv("PULSE_SERVER", "unix:/nonexistent");

        timer::form::DesktopBell bell;
        QWidget window;
        bell.ring(window);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(soundFile()).size() > 4000, 5000);
    }

private:
    QString soundFile() const { return home_.filePath("bell.raw"); }

    QTemporaryDir home_;
};

QTEST_MAIN(BellTest)
#include "bell_test.moc"
