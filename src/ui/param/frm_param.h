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
    QString settingsFilePath() const { return m_settingsFilePath; }

    QWidget *const Panel1;                // white header
    QLabel *const Image1;                 // header picture
    QLabel *const Label8;                 // header title "参数设置"
    QGroupBox *const RzGroupBox1;         // "计时时长设置"
    SpinField *const RzSpinEdit1;         // hours (shi)
    QLabel *const Label1;                 // "时"
    SpinField *const RzSpinEdit2;         // minutes (feng)
    QLabel *const Label2;                 // "分"
    SpinField *const RzSpinEdit3;         // seconds (miao)
    QLabel *const Label3;                 // "秒"
    QGroupBox *const GroupBox1;           // "前景色/背景色设置"
    QLabel *const Label4;                 // "前景色："
    QLabel *const Label5;                 // "背景色："
    ColorPicker *const ColorBox2;         // background colour (beicolor)
    ColorPicker *const ColorBox1;         // digit colour (qiancolor), on the dialog over GroupBox1
    QGroupBox *const GroupBox2;           // "显示字体大小设置"
    QLabel *const Label6;                 // "字体大小："
    FontSizePicker *const GSFontSizeBox1; // display font size (fontsize)
    QGroupBox *const GroupBox3;           // "计时结束播放音乐"
    QLabel *const Label7;                 // "音乐文件："
    FilenameEdit *const FilenameEdit1;    // alarm sound file (mp3)
    QLabel *const Label9;                 // "音乐提前 … 秒开始播放", red
    SpinField *const RzSpinEdit4;         // alarm lead in seconds (playtime), over Label9
    QGroupBox *const GroupBox4;           // "右下角图标文件"
    QCheckBox *const CheckBox1;           // "图标文件": picture shown (showico); enables FilenameEdit2
    FilenameEdit *const FilenameEdit2;    // corner picture file (ico)
    QCheckBox *const CheckBox2;           // "显示窗体头条": top panel shown (showtop)
    QPushButton *const RzBitBtn1;         // "参数设置": confirm and save every key
    QPushButton *const RzBitBtn2;         // "退出设置": close without saving
    // The row under the controls above: digits that fit and the full-screen monitor.
    QCheckBox *const CheckBox3;           // "数字自动适应窗口": digits fit the display (autofit)
    QLabel *const Label10;                // "全屏显示器："
    QComboBox *const ComboBox1;           // monitor of the full screen (monitor)

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
    void nameControls();
    void applyTabOrder();
    // Centres the dialog's frame on the owner's frame.
    void centreOnOwner();
    // Centres again when the window manager has told the frame's size.
    void watchFrame();

    static constexpr int framePollMs = 25;
    static constexpr int framePollLimit = 80; // two seconds

    QString m_settingsFilePath;
    QTimer *const m_frameWatch;
    int m_framePolls = 0;
    QMargins m_centredWithMargins;
};
