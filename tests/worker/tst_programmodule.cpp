// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgramModule.h"

#include <QFile>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTest>

using Outcome = ProgramModule::Loaded::Outcome;
Q_DECLARE_METATYPE(Outcome)

class tst_ProgramModule : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstFileThatExists_data();
    void firstFileThatExists();

private:
    QTemporaryDir m_dir;
    QString m_broken;
    QString m_missing;
    QString m_library; // a real library, and one of its exported functions below
};

void tst_ProgramModule::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_broken = m_dir.filePath(QStringLiteral("libbroken.so"));
    QFile file(m_broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    m_missing = m_dir.filePath(QStringLiteral("none/libmissing.so"));
    m_library =
        QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
    QVERIFY2(QFile::exists(m_library), qPrintable(m_library));
}

void tst_ProgramModule::firstFileThatExists_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("named"); // the path the answer names

    QTest::newRow("none there") << QStringList{m_missing, m_missing} << QByteArray("qVersion")
                                << Outcome::Missing << 1;
    QTest::newRow("not a library")
        << QStringList{m_missing, m_broken} << QByteArray("qVersion") << Outcome::Unloadable << 1;
    QTest::newRow("without the entry")
        << QStringList{m_library, m_broken} << QByteArray("tarvik_no_such_entry")
        << Outcome::NoEntry << 0;
    QTest::newRow("a module") << QStringList{m_missing, m_library, m_broken}
                              << QByteArray("qVersion") << Outcome::Loaded << 1;
}

void tst_ProgramModule::firstFileThatExists()
{
    QFETCH(QStringList, paths);
    QFETCH(QByteArray, entry);
    QFETCH(Outcome, outcome);
    QFETCH(int, named);
    const ProgramModule::Loaded loaded = ProgramModule::load(paths, entry.constData());
    QCOMPARE(loaded.outcome, outcome);
    QCOMPARE(loaded.entry != nullptr, outcome == Outcome::Loaded);
    QCOMPARE(loaded.path, paths.at(named));
    QCOMPARE(loaded.loadError.isEmpty(), outcome != Outcome::Unloadable);
}

QTEST_GUILESS_MAIN(tst_ProgramModule)
#include "tst_programmodule.moc"
