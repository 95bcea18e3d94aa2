// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TypeAheadSearch.h"

#include <QComboBox>
#include <QElapsedTimer>

#include <cstdint>
#include <functional>
#include <memory>

class ColorItemDelegate;
class DropDownListStyle;

// A drop-down list of the named colours (standard, extended and system; neither clDefault
// nor clNone), each drawn with its swatch. The colour set last is remembered: while no entry
// has it, the picker shows that colour with its "$" text and gives it back unchanged, so a
// custom colour survives opening and saving the settings.
class ColorPicker : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColorPicker)

public:
    static constexpr int colourRole = Qt::UserRole;

    explicit ColorPicker(QWidget *parent = nullptr);
    ~ColorPicker() override;

    // Remembers colour and selects the first entry that has it, or none.
    void setSelectedColor(std::int32_t colour);
    // The selected entry's colour, or the remembered colour when no entry is selected.
    std::int32_t selectedColor() const;

    std::int32_t colorAt(int index) const;

    // Swatch colours drawn in place of clDefault and clNone.
    void setDefaultColorColor(std::int32_t colour);
    std::int32_t defaultColorColor() const { return m_defaultColorColor; }
    void setNoneColorColor(std::int32_t colour);
    std::int32_t noneColorColor() const { return m_noneColorColor; }

    // Milliseconds for the type-ahead pause; tests drive their own.
    void setTypeAheadClock(std::function<std::int64_t()> clock);
    QString typeAheadText() const { return m_search.text(); }

    void showPopup() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool typeAhead(QKeyEvent *event);

    std::unique_ptr<DropDownListStyle> m_style;
    ColorItemDelegate *const m_delegate;
    QStringList m_texts;
    std::int32_t m_remembered = 0;
    std::int32_t m_defaultColorColor = 0;
    std::int32_t m_noneColorColor = 0;
    TypeAheadSearch m_search;
    QElapsedTimer m_elapsed;
    std::function<std::int64_t()> m_clock;
};
