// SPDX-License-Identifier: GPL-3.0-or-later
#include "EConvertError.h"
#include "ErrorGuard.h"
#include "MessageBoxes.h"

#include <QTest>

#include <stdexcept>

class tst_ErrorGuard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void displayedMessage_data();
    void displayedMessage();
    void guardedShowsTheErrorAndGoesOn();
    void guardedCatchesOtherExceptions();

private:
    QList<MessageBoxes::Request> m_shown;
};

void tst_ErrorGuard::init()
{
    m_shown.clear();
    MessageBoxes::setPresenterForTesting([this](const MessageBoxes::Request &request) {
        m_shown.append(request);
        return QMessageBox::Ok;
    });
}

void tst_ErrorGuard::cleanup()
{
    MessageBoxes::setPresenterForTesting({});
}

void tst_ErrorGuard::displayedMessage_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "'x' is not a valid integer value"
                            << "'x' is not a valid integer value.";
    QTest::newRow("digit") << "error 5"
                           << "error 5.";
    QTest::newRow("full stop") << "Done."
                               << "Done.";
    QTest::newRow("exclamation") << "Stop!"
                                 << "Stop!";
    QTest::newRow("closing parenthesis") << "(a)"
                                         << "(a)";
    QTest::newRow("comma sorts before") << "a,"
                                        << "a,";
    QTest::newRow("slash sorts after") << "a/"
                                       << "a/.";
    QTest::newRow("chinese") << QStringLiteral("无法打开") << QStringLiteral("无法打开.");
    QTest::newRow("empty") << ""
                           << "";
}

void tst_ErrorGuard::displayedMessage()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ErrorGuard::displayedMessage(message), shown);
}

void tst_ErrorGuard::guardedShowsTheErrorAndGoesOn()
{
    int stepsRun = 0;
    const bool ok = guarded([&] {
        ++stepsRun;
        throw EConvertError::invalidBoolean(QStringLiteral("maybe"));
        ++stepsRun; // never reached
    });
    QVERIFY(!ok);
    QCOMPARE(stepsRun, 1);
    QCOMPARE(m_shown.size(), 1);
    const MessageBoxes::Request &box = m_shown.first();
    QCOMPARE(box.owner, nullptr);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.caption, QStringLiteral("Tarvik倒计时计时器"));
    QCOMPARE(box.text, QStringLiteral("'maybe' is not a valid boolean value."));
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    QVERIFY(guarded([&] { ++stepsRun; }));
    QCOMPARE(stepsRun, 2);
    QCOMPARE(m_shown.size(), 1);
}

void tst_ErrorGuard::guardedCatchesOtherExceptions()
{
    QVERIFY(!guarded([] { throw std::runtime_error("out of range"); }));
    QVERIFY(!guarded([] { throw 42; }));
    QCOMPARE(m_shown.size(), 2);
    QCOMPARE(m_shown.at(0).text, QStringLiteral("out of range."));
    QVERIFY(!m_shown.at(1).text.isEmpty());
}

QTEST_MAIN(tst_ErrorGuard)
#include "tst_errorguard.moc"
