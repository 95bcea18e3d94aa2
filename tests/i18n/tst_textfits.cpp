// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxes.h"
#include "PopupMenu.h"
#include "UiLanguage.h"
#include "frm_main.h"
#include "frm_param.h"
#include "pub_unit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

using UiLanguage::Language;

Q_DECLARE_METATYPE(Language)

// Every window in every shipped language: each text fits its control and stays clear of
// the controls beside it (the layout is fixed; a translation that does not fit is made
// shorter), and no Chinese is left in the English interface.
class tst_TextFits : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void windowTexts_data();
    void windowTexts();

private:
    void useLanguage(Language language);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTranslator> m_translator;
};

namespace {

const QRegularExpression han(QStringLiteral("\\p{Han}"));

QString describe(const QWidget *widget)
{
    return QStringLiteral("%1 \"%2\"")
        .arg(widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                            : widget->objectName(),
             widget->property("text").toString());
}

// The horizontal runs of text, split at gaps of three or more spaces (the settings
// dialog's lead-time label leaves such a gap for its field), in the widget's coordinates.
QList<std::pair<int, int>> textRuns(const QFontMetrics &metrics, const QString &text, int left)
{
    QList<std::pair<int, int>> runs;
    static const QRegularExpression gap(QStringLiteral("( {3,})"));
    int from = 0;
    auto it = gap.globalMatch(text);
    while (true) {
        const bool more = it.hasNext();
        const QRegularExpressionMatch match = more ? it.next() : QRegularExpressionMatch();
        const int to = more ? int(match.capturedStart()) : int(text.size());
        const int x0 = left + metrics.horizontalAdvance(text.left(from));
        const int x1 = left + metrics.horizontalAdvance(text.left(to));
        runs.append({x0, x1});
        if (!more)
            break;
        from = int(match.capturedEnd());
    }
    return runs;
}

// The visible controls a text of widget must not run into, in the window's coordinates:
// every one but its own containers and parts (the settings dialog lays its foreground
// colour box over the colour group, beside that group's label).
QList<QRect> neighbours(const QWidget *widget)
{
    QList<QRect> rects;
    const QWidget *window = widget->window();
    for (const QWidget *other : window->findChildren<QWidget *>()) {
        if (other->isWindow() || !other->isVisibleTo(window) || other == widget ||
            other->isAncestorOf(widget) || widget->isAncestorOf(other))
            continue;
        rects.append(QRect(other->mapTo(window, QPoint(0, 0)), other->size()));
    }
    return rects;
}

// Problems with one control's text; empty when it fits.
QStringList checkWidget(const QWidget *widget)
{
    QStringList problems;
    const QFontMetrics metrics = widget->fontMetrics();
    const QStyle *style = widget->style();
    const auto tooWide = [&](int needed, int room) {
        problems
            << QStringLiteral("%1 needs %2 px, has %3").arg(describe(widget)).arg(needed).arg(room);
    };
    // Text drawn from x = left (widget coordinates) up to right, in runs: inside the widget
    // and clear of every other control on its line.
    const auto checkRuns = [&](const QString &text, int left, int right) {
        const QRect own(widget->mapTo(widget->window(), QPoint(0, 0)), widget->size());
        for (const auto &[x0, x1] : textRuns(metrics, text, left)) {
            if (x1 > right)
                tooWide(x1, right);
            const QRect run(own.left() + x0, own.top(), x1 - x0, own.height());
            for (const QRect &other : neighbours(widget)) {
                if (run.intersects(other))
                    problems << QStringLiteral("%1 runs into the control at %2,%3")
                                    .arg(describe(widget))
                                    .arg(other.x())
                                    .arg(other.y());
            }
        }
    };

    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        if (label->text().isEmpty() || !(label->alignment() & Qt::AlignLeft))
            return problems; // pictures, and the display, whose font follows its size
        const QRect contents = label->contentsRect();
        checkRuns(label->text(), contents.left(), contents.right() + 1);
    } else if (const auto *check = qobject_cast<const QCheckBox *>(widget)) {
        const int left = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) +
                         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
        checkRuns(check->text(), left, widget->width());
    } else if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
        if (button->text().isEmpty())
            return problems;
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        const int needed = metrics.horizontalAdvance(button->text()) + margin + 2 * frame;
        if (needed > widget->width())
            tooWide(needed, widget->width());
    } else if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
        // The title sits in the frame's top edge, with a little room on either side.
        const int needed = metrics.horizontalAdvance(group->title()) + 16;
        if (needed > widget->width())
            tooWide(needed, widget->width());
    } else if (const auto *combo = qobject_cast<const QComboBox *>(widget);
               combo && combo->metaObject() == &QComboBox::staticMetaObject) {
        // A plain list (the pickers draw their own faces, from names that are not translated).
        QStyleOptionComboBox option;
        option.initFrom(widget);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        constexpr auto editField = QStyle::SC_ComboBoxEditField;
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option, editField, widget);
        const int room = field.width();
        for (int i = 0; i < combo->count(); ++i) {
            const int needed = metrics.horizontalAdvance(combo->itemText(i));
            if (needed > room)
                problems << QStringLiteral("%1 item \"%2\" needs %3 px, has %4")
                                .arg(describe(widget), combo->itemText(i))
                                .arg(needed)
                                .arg(room);
        }
    }
    return problems;
}

QStringList shownTexts(const QWidget *widget)
{
    QStringList texts;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        texts << label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        texts << button->text();
    else if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        texts << group->title();
    if (!widget->toolTip().isEmpty())
        texts << widget->toolTip();
    if (!widget->accessibleName().isEmpty())
        texts << widget->accessibleName();
    if (!widget->accessibleDescription().isEmpty())
        texts << widget->accessibleDescription();
    return texts;
}

// Every control of window checked; in English no text may still be Chinese.
QStringList checkWindow(QWidget *window, Language language)
{
    QStringList problems;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets) {
        if (widget->isWindow() && widget != window)
            continue;
        if (!widget->isVisibleTo(window))
            continue;
        problems << checkWidget(widget);
        if (language == Language::English) {
            QStringList texts = shownTexts(widget);
            if (widget == window)
                texts << window->windowTitle();
            for (const QString &text : texts) {
                if (text.contains(han))
                    problems
                        << QStringLiteral("%1: untranslated \"%2\"").arg(describe(widget), text);
            }
        }
    }
    return problems;
}

} // namespace

void tst_TextFits::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    pub_unit::setApplicationDirectoryForTesting(m_dir->path());
    MessageBoxes::setPresenterForTesting([](const MessageBoxes::Request &request) {
        qWarning("unexpected message box: %s", qPrintable(request.text));
        return QMessageBox::Ok;
    });
}

void tst_TextFits::cleanup()
{
    MessageBoxes::setPresenterForTesting({});
    pub_unit::setApplicationDirectoryForTesting(QString());
    useLanguage(Language::Source);
    m_dir.reset();
}

void tst_TextFits::useLanguage(Language language)
{
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    if (language == Language::Source)
        return;
    m_translator = std::make_unique<QTranslator>();
    QVERIFY(m_translator->load(UiLanguage::catalogue(language)));
    QCoreApplication::installTranslator(m_translator.get());
}

void tst_TextFits::windowTexts_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("startItem"); // the menu's start item with its key
    QTest::newRow("source") << Language::Source << QStringLiteral("开始计时\tF4");
    QTest::newRow("en") << Language::English << QStringLiteral("Start\tF4");
    QTest::newRow("zh_TW") << Language::TraditionalChinese << QStringLiteral("開始計時\tF4");
}

void tst_TextFits::windowTexts()
{
    QFETCH(Language, language);
    QFETCH(QString, startItem);
    useLanguage(language);

    frm_main window;
    QVERIFY(QTest::qWaitFor([&window] { return window.isStartedUp(); }));
    QStringList problems = checkWindow(&window, language);

    const PopupMenu *popup = window.findChild<PopupMenu *>();
    QVERIFY(popup);
    QStringList captions;
    for (const QAction *action : popup->menu()->actions()) {
        captions << action->text();
        if (language == Language::English && action->text().contains(han))
            problems << QStringLiteral("menu: untranslated \"%1\"").arg(action->text());
    }
    QVERIFY2(captions.contains(startItem), qPrintable(captions.join(u'|')));

    frm_param dialog(&window);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    problems << checkWindow(&dialog, language);

    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
}

QTEST_MAIN(tst_TextFits)
#include "tst_textfits.moc"
