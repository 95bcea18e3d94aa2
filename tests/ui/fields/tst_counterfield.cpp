// SPDX-License-Identifier: GPL-3.0-or-later
#include "CounterField.h"
#include "SystemColors.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>

class tst_CounterField : public QObject
{
    Q_OBJECT

private slots:
    void looks();
    void textSurvivesTabbingAndTyping();
};

void tst_CounterField::looks()
{
    CounterField field;
    QVERIFY(field.isReadOnly());
    QCOMPARE(field.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(field.palette().color(QPalette::Base),
             SystemColors::toQColor(std::int32_t(0xFF000018u)));
    QVERIFY(field.focusPolicy() & Qt::TabFocus);
}

void tst_CounterField::textSurvivesTabbingAndTyping()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    CounterField *counters[3] = {new CounterField(&window), new CounterField(&window),
                                 new CounterField(&window)};
    const QString texts[3] = {QStringLiteral("5400"), QStringLiteral("0"), QStringLiteral("05400")};
    for (int i = 0; i < 3; ++i) {
        layout->addWidget(counters[i]);
        counters[i]->setText(texts[i]);
    }
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    counters[0]->setFocus(Qt::OtherFocusReason);
    QApplication::clipboard()->setText(QStringLiteral("77"));
    for (int round = 0; round < 2; ++round) {
        for (CounterField *counter : counters) {
            QVERIFY(counter->hasFocus());
            QTest::keyClicks(counter, QStringLiteral("12a-"));
            QTest::keyClick(counter, Qt::Key_Backspace);
            QTest::keyClick(counter, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(counter, Qt::Key_X, Qt::ControlModifier);
            QTest::keyClick(counter, Qt::Key_Up);
            QTest::keyClick(counter, Qt::Key_Tab);
        }
    }
    for (int i = 0; i < 3; ++i)
        QCOMPARE(counters[i]->text(), texts[i]);

    // Selecting and copying works.
    counters[0]->setFocus(Qt::OtherFocusReason);
    counters[0]->selectAll();
    QTest::keyClick(counters[0], Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("5400"));
}

QTEST_MAIN(tst_CounterField)
#include "tst_counterfield.moc"
