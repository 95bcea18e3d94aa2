// SPDX-License-Identifier: GPL-3.0-or-later
#include "TypeAheadSearch.h"

#include <QTest>

class TestTypeAheadSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void collectsAndResets();
};

void TestTypeAheadSearch::collectsAndResets()
{
    const QStringList entries{"clBlack", "clBlue", "clBtnFace", "clWhite"};
    TypeAheadSearch search;
    QCOMPARE(search.type(u'C', 0, entries), 0);
    QCOMPARE(search.type(u'l', 100, entries), 0);
    QCOMPARE(search.type(u'b', 599, entries), 0);
    QCOMPARE(search.type(u't', 1098, entries), 2);
    QCOMPARE(search.text(), "Clbt");
    search.backspace(1200);
    QCOMPARE(search.text(), "Clb");
    QCOMPARE(search.type(u'l', 1300, entries), 0);
    QCOMPARE(search.type(u'u', 1400, entries), 1);
    QCOMPARE(search.type(u'z', 1500, entries), -1);
    QCOMPARE(search.text(), "Clbluz");

    // More than 499 ms after the last character: a new search text.
    QCOMPARE(search.type(u'c', 2000, entries), 0);
    QCOMPARE(search.text(), "c");
    search.backspace(2600);
    QCOMPARE(search.text(), QString());
    QCOMPARE(search.type(u'w', 2601, entries), -1);
    QCOMPARE(search.text(), "w");
}

QTEST_GUILESS_MAIN(TestTypeAheadSearch)
#include "tst_typeaheadsearch.moc"
