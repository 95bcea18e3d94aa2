// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTranslations.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::Literals::StringLiterals;

class tst_QtTranslations : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void missingCatalogueKeepsEnglish();
    void standardButtonsAndEditMenuInChinese();
};

void tst_QtTranslations::initTestCase()
{
    // Whatever the user's locale.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_QtTranslations::missingCatalogueKeepsEnglish()
{
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    QVERIFY(!QtTranslations::install(qApp, empty.path()));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"Cancel"_s);
}

void tst_QtTranslations::standardButtonsAndEditMenuInChinese()
{
    QVERIFY(QtTranslations::install(qApp));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), u"确定"_s);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);

    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << action->text();
    QVERIFY2(texts.filter(u"撤消"_s).size() == 1, qPrintable(texts.join(u'|')));
    QVERIFY2(texts.filter(u"全选"_s).size() == 1, qPrintable(texts.join(u'|')));
}

QTEST_MAIN(tst_QtTranslations)
#include "tst_qttranslations.moc"
