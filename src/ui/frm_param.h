#pragma once

#include <QDialog>
#include <QMargins>

#include <cstdint>

class ColorPicker;
class FilenameEdit;
class FontSizePicker;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class SpinField;

// The settings dialog: loads every key of the settings file when it is created and
// writes them all back when the user confirms the save button. It is created for each
// use, shown modally and destroyed by the main window.
class frm_param : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frm_param)

public:
    explicit frm_param(QWidget *owner);
    ~frm_param() override;

    // The settings file, computed once when the dialog is created.
    QString settingsPath() const { return m_iniPath; }

    QWidget *const Panel1;
    QLabel *const Image1;
    QLabel *const Label8;
    QGroupBox *const RzGroupBox1;
    SpinField *const RzSpinEdit1;
    QLabel *const Label1;
    SpinField *const RzSpinEdit2;
    QLabel *const Label2;
    SpinField *const RzSpinEdit3;
    QLabel *const Label3;
    QGroupBox *const GroupBox1;
    QLabel *const Label4;
    QLabel *const Label5;
    ColorPicker *const ColorBox2;
    ColorPicker *const ColorBox1;
    QGroupBox *const GroupBox2;
    QLabel *const Label6;
    FontSizePicker *const GSFontSizeBox1;
    QGroupBox *const GroupBox3;
    QLabel *const Label7;
    FilenameEdit *const FilenameEdit1;
    QLabel *const Label9;
    SpinField *const RzSpinEdit4;
    QGroupBox *const GroupBox4;
    QCheckBox *const CheckBox1;
    FilenameEdit *const FilenameEdit2;
    QCheckBox *const CheckBox2;
    QPushButton *const RzBitBtn1;
    QPushButton *const RzBitBtn2;
    // The row under the controls above: digits that fit and the full-screen monitor.
    QCheckBox *const CheckBox3;
    QLabel *const Label10;
    QComboBox *const ComboBox1;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void CheckBox1Click();
    void CheckBox3Click();
    // One entry a monitor, as the platform lists them now; setting selects the stored one.
    void fillMonitorList(std::int32_t setting);
    void RzBitBtn1Click();
    void saveSettings();
    void placeControls();
    void applyTabOrder();
    // Centres the dialog's frame on the owner's frame.
    void centreOnOwner();
    // Centres again when the window manager has told the frame's size.
    void watchFrame();

    static constexpr int framePollMs = 25;
    static constexpr int framePollLimit = 80; // two seconds

    QString m_iniPath;
    QTimer *const m_frameWatch;
    int m_framePolls = 0;
    QMargins m_centredWithMargins;
};
