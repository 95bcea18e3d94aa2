// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

#include <memory>

class DropDownListStyle;
class FontSizeItemDelegate;

// A typing field with a drop-down list of twelve fixed font sizes. Only digits, Backspace
// and Enter are typed; a typed digit completes to the first size that begins with the text.
// Enter, and choosing a size from the list, run the size rule.
class FontSizePicker : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FontSizePicker)

public:
    explicit FontSizePicker(QWidget *parent = nullptr);
    ~FontSizePicker() override;

    static const QStringList &sizeTexts();

    // The typing field's text exactly as shown, and set exactly as given (no test is made).
    QString text() const;
    void setText(const QString &text);

    // The last size accepted by the size rule; 0 until one is.
    int fontSize() const { return m_fontSize; }

    // Below 1 clears the list selection (and with it the field); otherwise a new size is
    // taken and shown as its plain integer text.
    void setFontSize(int size);

    // Reads the field's text as an integer (8 when it is not one) and applies it.
    void applySizeRule();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void completeTypedText();
    void takeEntry(int index);

    std::unique_ptr<DropDownListStyle> m_style;
    FontSizeItemDelegate *const m_delegate;
    int m_fontSize = 0;
};
