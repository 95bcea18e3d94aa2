// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNameRules.h"

#include <QTest>

class TestFileNameRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstWord_data();
    void firstWord();
    void firstWordIsCutAtTheLongestPath();
    void validity_data();
    void validity();
    void folderAndQuoting();
    void nameFilters_data();
    void nameFilters();
};

void TestFileNameRules::firstWord_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("plain") << "/a/b.mp3"
                           << "/a/b.mp3";
    QTest::newRow("second word dropped") << "/a/b c.mp3"
                                         << "/a/b";
    QTest::newRow("leading blanks and controls") << QString(" \t\x01/x") << "/x";
    QTest::newRow("quoted with blank") << "\"/my music/a.mp3\""
                                       << "/my music/a.mp3";
    QTest::newRow("quote in the middle") << "/my\" \"music"
                                         << "/my music";
    QTest::newRow("unclosed quote runs to end") << "\"/a b"
                                                << "/a b";
    QTest::newRow("pairs of quotes skipped at start") << " \"\" \"\"/x y"
                                                      << "/x";
    QTest::newRow("empty quotes inside dropped") << "/a\"\"b"
                                                 << "/ab";
    QTest::newRow("nul ends the text") << QString::fromUtf16(u"/a\0b c", 6) << "/a";
    QTest::newRow("non-ascii kept") << "/音乐/荷塘月色.mp3 x"
                                    << "/音乐/荷塘月色.mp3";
    QTest::newRow("only blanks") << "   " << QString();
}

void TestFileNameRules::firstWord()
{
    QFETCH(QString, text);
    QFETCH(QString, word);
    QCOMPARE(FileNameRules::firstCommandLineWord(text), word);
}

void TestFileNameRules::firstWordIsCutAtTheLongestPath()
{
    const QString path = u'/' + QString(299, u'x');
    QCOMPARE(FileNameRules::firstCommandLineWord(u'"' + path + u'"'), path);
    const QString longWord(FileNameRules::maxWordLength + 10, u'x');
    QCOMPARE(FileNameRules::firstCommandLineWord(longWord),
             QString(FileNameRules::maxWordLength, u'x'));
}

void TestFileNameRules::validity_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << QString() << false;
    QTest::newRow("path") << "/tmp/a b.mp3" << true;
    for (const char *bad : {"<", ">", "\"", "[", "]", "|"})
        QTest::addRow("with %s", bad)
            << QStringLiteral("/tmp/a%1b").arg(QLatin1String(bad)) << false;
}

void TestFileNameRules::validity()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QCOMPARE(FileNameRules::isValidFileName(name), valid);
}

void TestFileNameRules::folderAndQuoting()
{
    QCOMPARE(FileNameRules::folderPart("/a/b/c.mp3"), "/a/b/");
    QCOMPARE(FileNameRules::folderPart("/a/b/"), "/a/b/");
    QCOMPARE(FileNameRules::folderPart("c.mp3"), QString());

    QCOMPARE(FileNameRules::quotedWhenBlank("/a b/c.mp3"), "\"/a b/c.mp3\"");
    QCOMPARE(FileNameRules::quotedWhenBlank("/ab/c.mp3"), "/ab/c.mp3");
    QCOMPARE(FileNameRules::quotedWhenBlank("\"/a b/c.mp3"), "\"/a b/c.mp3");
}

void TestFileNameRules::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("filters");

    QTest::newRow("sound") << "mp3 (*.mp3)|*.mp3" << QStringList{"mp3 (*.mp3)"};
    QTest::newRow("pictures") << "图片文件 (*.jpg)|*.jpg|图标文件(*.ico)|*.ico"
                              << QStringList{"图片文件 (*.jpg)", "图标文件(*.ico)"};
    QTest::newRow("description without patterns")
        << "Pictures|*.jpg;*.ico" << QStringList{"Pictures (*.jpg *.ico)"};
    QTest::newRow("empty") << QString() << QStringList{};
    QTest::newRow("unpaired tail ignored") << "All|*|Other" << QStringList{"All (*)"};
}

void TestFileNameRules::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, filters);
    QCOMPARE(FileNameRules::toNameFilters(filter), filters);
}

QTEST_GUILESS_MAIN(TestFileNameRules)
#include "tst_filenamerules.moc"
