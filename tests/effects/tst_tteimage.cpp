#include <QTest>

class tst_TTEImage : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_TTEImage)
#include "tst_tteimage.moc"
