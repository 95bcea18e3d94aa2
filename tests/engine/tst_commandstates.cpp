// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandStates.h"

#include <QStringList>
#include <QTest>

#include <functional>

namespace {

class RecordingSink : public CommandStateSink
{
public:
    QStringList calls;
    void setCommandEnabled(StateCommand command, bool enabled) override
    {
        calls << QStringLiteral("%1=%2").arg(int(command)).arg(enabled ? 1 : 0);
    }
    void startCountdownTimer() override { calls << QStringLiteral("timer start"); }
    void resumeCountdownTimer() override { calls << QStringLiteral("timer resume"); }
    void stopCountdownTimer() override { calls << QStringLiteral("timer off"); }
};

QStringList flags(const char *column)
{
    QStringList out;
    for (int i = 0; i < 8; ++i)
        out << QStringLiteral("%1=%2").arg(i).arg(QLatin1Char(column[i]));
    return out;
}

const char *const idle = "10001111";
const char *const running = "01010111";
const char *const paused = "00110111";

} // namespace

Q_DECLARE_METATYPE(std::function<void(CommandStateSink &)>)

class TestCommandStates : public QObject
{
    Q_OBJECT

private slots:
    void movesSetEveryFlagInOrder_data()
    {
        using Move = std::function<void(CommandStateSink &)>;
        QTest::addColumn<Move>("move");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("create") << Move(CommandStates::create) << flags(idle);
        QTest::newRow("start") << Move(CommandStates::start)
                               << QStringList{"timer start"} + flags(running);
        QTest::newRow("pause") << Move(CommandStates::pause)
                               << QStringList{"timer off"} + flags(paused);
        QTest::newRow("continue") << Move(CommandStates::resume)
                                  << QStringList{"timer resume"} + flags(running);
        QTest::newRow("end") << Move(CommandStates::end) << QStringList{"timer off"} + flags(idle);
        QTest::newRow("finish") << Move(CommandStates::finish)
                                << flags(idle) + QStringList{"timer off"};
    }
    void movesSetEveryFlagInOrder()
    {
        using Move = std::function<void(CommandStateSink &)>;
        QFETCH(Move, move);
        QFETCH(QStringList, calls);
        RecordingSink sink;
        move(sink);
        QCOMPARE(sink.calls, calls);
    }
};

QTEST_GUILESS_MAIN(TestCommandStates)
#include "tst_commandstates.moc"
