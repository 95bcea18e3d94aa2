// SPDX-License-Identifier: GPL-3.0-or-later
#include "FontSizePicker.h"

#include "DropDownListStyle.h"
#include "FontSizeItemDelegate.h"
#include "NumberTexts.h"
#include "SingleLineText.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

constexpr int defaultSize = 8;
constexpr int visibleEntries = 8;

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

FontSizePicker::FontSizePicker(QWidget *parent)
    : QComboBox(parent)
    , m_style(std::make_unique<DropDownListStyle>())
    , m_delegate(new FontSizeItemDelegate(this))
{
    setStyle(m_style.get());
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion follows the list's own rule below, not QCompleter's.
    setCompleter(nullptr);
    setItemDelegate(m_delegate);
    setMaxVisibleItems(visibleEntries);
    lineEdit()->setTextMargins(0, 0, 0, 0);
    SingleLineText::attach(lineEdit());

    addItems(sizeTexts());
    setCurrentIndex(-1);
    setText(QStringLiteral("24"));

    connect(this, &QComboBox::currentIndexChanged, this, &FontSizePicker::takeEntry);
    connect(this, &QComboBox::activated, this, &FontSizePicker::takeEntry);
}

FontSizePicker::~FontSizePicker()
{
    // The widget must not outlive its style's use.
    setStyle(nullptr);
}

const QStringList &FontSizePicker::sizeTexts()
{
    static const QStringList texts{
        QStringLiteral("6"),  QStringLiteral("7"),  QStringLiteral("8"),  QStringLiteral("10"),
        QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("20"),
        QStringLiteral("24"), QStringLiteral("32"), QStringLiteral("48"), QStringLiteral("72")};
    return texts;
}

QString FontSizePicker::text() const
{
    return lineEdit()->text();
}

void FontSizePicker::setText(const QString &text)
{
    lineEdit()->setText(text);
}

void FontSizePicker::setFontSize(int size)
{
    if (size < 1) {
        if (currentIndex() != -1) {
            setCurrentIndex(-1);
            lineEdit()->clear();
        }
        return;
    }
    if (size == m_fontSize)
        return;
    m_fontSize = size;
    const QString shown = NumberTexts::integerToText(size);
    if (text() != shown)
        setText(shown);
}

void FontSizePicker::applySizeRule()
{
    setFontSize(NumberTexts::integerFromText(text(), defaultSize));
}

void FontSizePicker::takeEntry(int index)
{
    if (index < 0)
        return;
    const QString entry = itemText(index);
    if (text() != entry)
        setText(entry);
    applySizeRule();
}

void FontSizePicker::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // The dialog's default button never sees this Enter.
        event->accept();
        applySizeRule();
        return;
    }

    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
        if (typed.size() != 1 || !isDigit(typed.at(0)) || modifiers != Qt::NoModifier) {
            event->accept();
            return;
        }
        QComboBox::keyPressEvent(event);
        completeTypedText();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void FontSizePicker::completeTypedText()
{
    const QString typed = text();
    if (typed.isEmpty())
        return;
    const QStringList &sizes = sizeTexts();
    for (int i = 0; i < sizes.size(); ++i) {
        const QString &entry = sizes.at(i);
        if (!entry.startsWith(typed))
            continue;
        if (currentIndex() != i)
            setCurrentIndex(i);
        if (text() != entry)
            setText(entry);
        // The added rest stays selected so that the next digit replaces it.
        lineEdit()->setSelection(int(entry.size()), -int(entry.size() - typed.size()));
        return;
    }
}
