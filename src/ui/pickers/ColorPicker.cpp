// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorPicker.h"

#include "ColorItemDelegate.h"
#include "ColorItemDrawing.h"
#include "DropDownListStyle.h"
#include "ValueEncodings.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <utility>

namespace {

constexpr int visibleEntries = 8;

} // namespace

ColorPicker::ColorPicker(QWidget *parent)
    : QComboBox(parent)
    , m_style(std::make_unique<DropDownListStyle>())
    , m_delegate(new ColorItemDelegate(this))
{
    setStyle(m_style.get());
    setEditable(false);
    setItemDelegate(m_delegate);
    setMaxVisibleItems(visibleEntries);
    m_elapsed.start();

    for (const ValueEncodings::ColourEntry &row : ValueEncodings::colourTable()) {
        if (row.value == ColorItemDrawing::clDefault || row.value == ColorItemDrawing::clNone)
            continue;
        const QString text(row.identifier);
        addItem(text, QVariant::fromValue(int(row.value)));
        m_texts.append(text);
    }
    setSelectedColor(m_remembered);

    view()->installEventFilter(this);
}

ColorPicker::~ColorPicker()
{
    view()->removeEventFilter(this);
    // The widget must not outlive its style's use.
    setStyle(nullptr);
}

void ColorPicker::setSelectedColor(std::int32_t colour)
{
    m_remembered = colour;
    int found = -1;
    for (int i = 0; i < count(); ++i) {
        if (colorAt(i) == colour) {
            found = i;
            break;
        }
    }
    setCurrentIndex(found);
    update();
}

std::int32_t ColorPicker::selectedColor() const
{
    const int index = currentIndex();
    return index >= 0 ? colorAt(index) : m_remembered;
}

std::int32_t ColorPicker::colorAt(int index) const
{
    return std::int32_t(itemData(index, colourRole).toInt());
}

void ColorPicker::setDefaultColorColor(std::int32_t colour)
{
    m_defaultColorColor = colour;
    m_delegate->setSpecialColours(m_defaultColorColor, m_noneColorColor);
    update();
}

void ColorPicker::setNoneColorColor(std::int32_t colour)
{
    m_noneColorColor = colour;
    m_delegate->setSpecialColours(m_defaultColorColor, m_noneColorColor);
    update();
}

void ColorPicker::setTypeAheadClock(std::function<std::int64_t()> clock)
{
    m_clock = std::move(clock);
}

void ColorPicker::showPopup()
{
    // The open list is wide enough for its longest entry, whatever the picker's own width.
    int widest = 0;
    for (const QString &text : std::as_const(m_texts))
        widest = std::max(widest, fontMetrics().horizontalAdvance(text));
    const int frame = 2 * view()->frameWidth() + 2;
    view()->setMinimumWidth(ColorItemDelegate::itemHeight + ColorItemDrawing::textGap + widest +
                            style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view()) +
                            frame);
    QComboBox::showPopup();
}

void ColorPicker::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);

    const std::int32_t value = selectedColor();
    ColorItemDrawing::Entry entry;
    entry.swatch = ColorItemDrawing::swatchColour(value, m_defaultColorColor, m_noneColorColor);
    entry.text = currentIndex() >= 0 ? currentText() : ValueEncodings::colorToText(value);
    entry.selected = hasFocus();
    entry.focused = hasFocus();
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    ColorItemDrawing::draw(painter, field, entry, palette(), font());
}

void ColorPicker::keyPressEvent(QKeyEvent *event)
{
    if (typeAhead(event))
        return;
    QComboBox::keyPressEvent(event);
}

bool ColorPicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view() && event->type() == QEvent::KeyPress &&
        typeAhead(static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

bool ColorPicker::typeAhead(QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::NoModifier)
        return false;
    const std::int64_t now = m_clock ? m_clock() : m_elapsed.elapsed();
    if (event->key() == Qt::Key_Backspace) {
        m_search.backspace(now);
        event->accept();
        return true;
    }
    const QString typed = event->text();
    if (typed.size() != 1 || !typed.at(0).isPrint())
        return false;
    const int found = m_search.type(typed.at(0), now, m_texts);
    if (found >= 0) {
        setCurrentIndex(found);
        if (view()->isVisible())
            view()->setCurrentIndex(model()->index(found, modelColumn(), rootModelIndex()));
    }
    event->accept();
    return true;
}
